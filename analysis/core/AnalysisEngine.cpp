// The engine interface's out-of-line destructor.
#include "analysis/core/AnalysisEngine.h"

namespace qv::analysis {

AnalysisEngine::~AnalysisEngine() = default;

} // namespace qv::analysis
