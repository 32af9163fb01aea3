#include "app/prerequisite_phase.h"

#include "app/bootstrapper.h"

void RunPrerequisitePhase(Bootstrapper &) {
  // Detection, the wizard and the installations are not wired into the run yet: the
  // configuration is extracted with the archive and the run goes straight on to the package.
}
