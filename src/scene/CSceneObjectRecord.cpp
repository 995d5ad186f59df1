#include "scene/CSceneObject.h"
