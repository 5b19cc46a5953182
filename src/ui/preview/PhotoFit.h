#pragma once
#include <cstdint>

// The arithmetic of the preview control, kept free of widgets so the fitting
// table and the pointer mapping can be checked number by number.
namespace photofit {

struct Placement {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  double Scale = 1.0;  // displayed height / photo height
};

// Reduces a photo into a box (never enlarges it) and centres it in the box.
// With fitSquare both limits are the box's smaller side; the centring still
// uses the box itself.
Placement Fit(int photoWidth, int photoHeight, int boxWidth, int boxHeight, bool fitSquare);

// Round to the nearest integer, halves to the even neighbour.
int RoundEven(double value);

// "5%" for a scale of 0.0486.
int ScalePercent(double scale);

// The grid every selection edge lies on.
constexpr int kGrid = 16;
inline int Snap(int value) { return value - value % kGrid; }

// One axis of a client point to photo pixels: the first column maps to 0,
// the last one to the whole control size (so a drag can reach the border).
int ClientToPhoto(int client, int controlSize, double scale);

}  // namespace photofit
