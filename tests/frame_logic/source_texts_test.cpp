#include "frame/logic/source_texts.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(SourceTexts, ExactMessages) {
    EXPECT_EQ(sourceNotAvailableText("Port already open", SourceKind::Serial, 3, 1, "GPS"),
              "Port already open. Comport  3 not available! System  1 -GPS disabled");
    EXPECT_EQ(sourceNotAvailableText("Address already in use", SourceKind::Udp, 1000, 2, "AIS base"),
              "Address already in use. UDP Port  1000 not available! System  2 -AIS base disabled");
    EXPECT_EQ(tcpErrorText(2, 10061, "Connection refused"), "TCP/IP Error, system  2 : 10061 - Connection refused");
}

}  // namespace
}  // namespace tiderune
