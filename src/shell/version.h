#pragma once
// The version the title bar and the About box show.
namespace shell {

inline constexpr const char* kVersionText = "0.96 beta";

}  // namespace shell
