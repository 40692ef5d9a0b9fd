// The simulation's results are defined by IEEE single precision evaluated
// step by step. A target that keeps float expressions in wider registers
// (x87 without -mfpmath=sse) would give other bits without a word, so it
// does not build.
#include <cfloat>
#include <limits>

static_assert(FLT_EVAL_METHOD == 0,
              "float expressions must be evaluated in float (on 32-bit x86: -msse2 -mfpmath=sse)");
static_assert(std::numeric_limits<float>::is_iec559, "float must be IEEE 754 single precision");
