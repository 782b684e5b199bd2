#pragma once

namespace vorlin::platform {

// Whether a clipboard manager runs on the X display: it takes over the
// clipboard of a program that ends (Qt hands it over by itself then).
bool clipboardManagerRuns();

}  // namespace vorlin::platform
