// Flexural rigidity of the wall by station: elastic sections (linear over a tapered section) and
// secant rigidity from the moment-curvature tables of nonlinear sections; the hinge model.
#pragma once

#include "engine/run_state.h"

namespace korden {

// Secant rigidity M/phi of a moment-curvature table at curvature phi (phi >= 0). Returns false
// when the table has fewer than 2 points (the rigidity is then left unchanged).
bool secantRigidity(const MomentCurvatureSet& table, double phi, double& ei);

// Before the analysis: every wall section names a given cross section, a user-defined EI section
// (type 10) has its set, and every moment-curvature table in use has ascending curvatures and
// positive moments and curvatures from its second point on. Stops the run otherwise.
void checkRigiditySources(const RunState& state);

// EI at every wall station 0..N must be a positive number once the sections are spread; stops
// the run naming the station and its section otherwise.
void requirePositiveRigidity(const RunState& state);

// Recomputes EI at stations 0..N from the wall sections and the current deflections. With
// `afterIteration` the width scaling of the section adjustment flag applies.
void updateFlexuralRigidity(RunState& state, bool afterIteration);

// Hinge model: zero EI at the stations of tie-backs 2..nt and struts 2..ns.
void applyHingeModel(RunState& state);

}  // namespace korden
