#pragma once

// The application title: window caption and the caption of every message box.
inline constexpr const char* kAppTitle = "Korvel Lumatrim 1.5";
