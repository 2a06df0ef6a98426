// The system calls a write of the settings file makes, counted, so that the helper can stop itself at
// any one of them as a crash or a power cut would.
#pragma once

namespace kazoomba::testing {

// From now on every write, sync, link, rename, unlink, close and change of mode the program makes is a
// step; the process kills itself just before step `stopAt` (counted from 0). A negative `stopAt` only
// counts.
void ArmWriteSteps(int stopAt);
// Stops counting; the steps counted since ArmWriteSteps.
int DisarmWriteSteps();
// Syncs still count as steps but do not wait for the disk: a killed process loses nothing the kernel holds,
// so for a kill they change nothing, and on a busy disk they are most of a save's time.
void SkipSyncs();

}  // namespace kazoomba::testing
