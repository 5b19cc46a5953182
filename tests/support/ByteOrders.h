#pragma once
#include <gtest/gtest.h>

#include "core/bytes/ByteView.h"
#include "support/TiffBuilder.h"

namespace lumatrim::test {

inline ByteOrder CoreOrder(Order order) {
  return order == Order::Motorola ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
}

// Runs a parser case once per byte order; a failure names the order.
template <typename Case>
void InBothByteOrders(Case&& parserCase) {
  for (Order order : {Order::Intel, Order::Motorola}) {
    SCOPED_TRACE(order == Order::Intel ? "II (little-endian)" : "MM (big-endian)");
    parserCase(order);
  }
}

}  // namespace lumatrim::test
