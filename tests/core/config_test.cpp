#include "core/config.h"

#include <gtest/gtest.h>

using namespace tiderune;

TEST(LoadDefaultSetup, SetsSourcesAndClearsPositionTypesButKeepsTheRest) {
    Config c;
    for (int s = 1; s <= 4; ++s) {
        SystemSetup& sys = c.Systems[s];
        sys.InUse = true;
        sys.Name = "Ship";
        sys.Kind = "AIS";
        sys.OfflineFile = "x.log";
        sys.ComPort = 3;
        sys.UseTCP = true;
        sys.UseUDP = true;
        sys.UDPPort = 10110;
        for (SentenceType t : AllSentenceTypes) sys.analysed(t) = true;
        c.ChecksumTest[s] = true;
        c.EmptyBuffer[s] = true;
        c.MessagesToAnalyse[s][1] = "GGA";
        c.ReferenceLat[s] = 1.0;
        c.WindowVisible[s][VisibleForms::NMEAMonitor] = true;
    }
    c.Comports[2].Baud = 4800;
    c.Mode = "OFFLINE";

    LoadDefaultSetup(c);

    EXPECT_EQ(c.Mode, "ONLINE");
    for (int s = 1; s <= 4; ++s) {
        const SystemSetup& sys = c.Systems[s];
        EXPECT_FALSE(sys.InUse);
        EXPECT_EQ(sys.Name, "");
        EXPECT_EQ(sys.Kind, "");
        EXPECT_EQ(sys.OfflineFile, "");
        EXPECT_EQ(sys.ComPort, 0);
        EXPECT_FALSE(sys.UseTCP);
        EXPECT_EQ(sys.TCPHost, "127.0.0.1");
        EXPECT_EQ(sys.TCPPort, 8040);
        EXPECT_FALSE(c.ChecksumTest[s]);
        for (SentenceType t : AllSentenceTypes) {
            const bool kept = t == SentenceType::TTM || t == SentenceType::VDM;
            EXPECT_EQ(sys.analysed(t), kept) << sentenceTypeName(t);
        }
        // Not touched by the defaults.
        EXPECT_TRUE(sys.UseUDP);
        EXPECT_EQ(sys.UDPPort, 10110);
        EXPECT_TRUE(c.EmptyBuffer[s]);
        EXPECT_EQ(c.MessagesToAnalyse[s][1], "GGA");
        EXPECT_EQ(c.ReferenceLat[s], 1.0);
        EXPECT_TRUE(c.WindowVisible[s][VisibleForms::NMEAMonitor]);
    }
    EXPECT_EQ(c.Comports[2].Baud, 4800);
}

TEST(SystemSetup, AnalyseFlagOfEachTypeIsItsOwnField) {
    SystemSetup sys;
    sys.analysed(SentenceType::GST) = true;
    EXPECT_TRUE(sys.GSTAnalysed);
    sys.analysed(SentenceType::ATT) = true;
    EXPECT_TRUE(sys.ATTAnalysed);
    int set = 0;
    for (SentenceType t : AllSentenceTypes) set += sys.analysed(t);
    EXPECT_EQ(set, 2);
}
