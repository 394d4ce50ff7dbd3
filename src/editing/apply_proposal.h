#pragma once

#include "editing/edit_context.h"
#include "levelling/proposal.h"

namespace velmora::editing {

// Writes a levelling proposal into the plans as one gesture, so one undo takes it all back. Each
// moved plan takes its new machine as a drop onto that row gives it, the cycle and minutes it
// has there when it changes machine, and its new times; its bar is laid out again.
void ApplyProposal(EditContext& ctx, const levelling::Proposal& proposal);

}  // namespace velmora::editing
