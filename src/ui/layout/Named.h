#pragma once
#include <QLatin1String>

// A new widget with its object name, by which the tests and screenshots find it.
template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}
