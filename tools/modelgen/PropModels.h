#pragma once

#include "GeneratorTool.h"

#include <vector>

// The things of the sample game's puzzle and its inner rooms, built from
// boxes like the courtyard's models. Sizes in units (metres); every model
// stands on y = 0 unless said otherwise.
//
//   gate.ims     iron gate 4 wide, 2.5 high; its hinge is the origin and it
//                reaches along +x, so a turn about y swings it open
//   backdrop.ims a glowing sky 60 wide and 20 high, upright and facing -z
//   door.ims     plank door 1.4 wide, 2.2 high, 0.1 thick, centred on x
//   bench.ims    workbench 2.2 x 0.9 x 0.8
//   shelf.ims    wall shelf 2 wide, 1.8 high, 0.4 deep, with three boards
//   crowbar.ims  iron bar 0.8 long lying on the ground
//   oilcan.ims   small green can with a spout
//   lantern.ims  hand lantern whose glass ("flame" material) the scripts light
//   hatch.ims    wooden trapdoor 1.4 x 1.4 lying flat, 0.06 thick
//   stairs.ims   five steps rising along +x to 1.5 high
//   barrel.ims   barrel 0.8 across, 1.1 high, with iron hoops
//   key.ims      a large brass key lying flat
std::vector<GeneratedFile> GeneratePropModels();
