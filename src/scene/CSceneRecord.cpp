#include "scene/CScene.h"
