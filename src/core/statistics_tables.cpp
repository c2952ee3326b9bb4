#include "statistics_tables.h"

namespace tiderune {

void ResetSystemStatistics(SystemStatistics& s) {
    ResetStatRecordDbl(s.LatitudeStats);
    ResetStatRecordDbl(s.LongitudeStats);
    ResetStatRecord(s.HeightStats);
    ResetStatRecord(s.HeadingStats);
    ResetStatRecord(s.PitchStats);
    ResetStatRecord(s.RollStats);
    auto blocks = [](auto& table) {
        for (StatBlock& b : table) ResetStatBlock(b);
    };
    auto snrBlocks = [](auto& table) {
        for (SNRStatBlock& b : table) ResetSNRStatBlock(b);
    };
    blocks(s.GGAStats);
    blocks(s.GNSStats);
    blocks(s.GLLStats);
    blocks(s.RMCStats);
    blocks(s.VTGStats);
    blocks(s.GSAStats);
    blocks(s.GSTStats);
    ResetSNRStatBlock(s.GSVStats);
    blocks(s.HDTStats);
    blocks(s.ATTStats);
    blocks(s.ROTStats);
    blocks(s.VHWStats);
    blocks(s.DBTStats);
    snrBlocks(s.GPSSNRStats);
    snrBlocks(s.SBASSNRStats);
    snrBlocks(s.GLONASSSNRStats);
    snrBlocks(s.BeiDouSNRStats);
}

}  // namespace tiderune
