#pragma once
// The session summary report of one system: the session text, the time span and reading
// counts, the reference and average positions, the statistics of the horizontal, north, east
// and height deviations from the reference and their distributions. File > Print writes one
// per system in use to the program folder's "Reports" folder.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/core_state.h"
#include "platform/app_folder.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace tiderune {

// Lines of text laid out in columns, as a line printer would: columns count from 1, every
// line ends with CR LF.
class ReportWriter {
public:
    ReportWriter& operator<<(std::string_view text);
    // Blanks up to `column`. A line already past it gets one blank, so that a wide value
    // never runs into the next column and a row is never broken over two lines.
    ReportWriter& tab(int column);
    // A count as a printed number: the sign place (a blank, or "-"), the digits and one
    // trailing blank.
    ReportWriter& number(long long value);
    // Ends the line. Line breaks inside a written text (CR LF, LF or CR alone) all become
    // CR LF.
    ReportWriter& endLine();
    ReportWriter& separator();  // a line of 60 "-"
    // A file's name, which is the file system's bytes rather than the program's text: text()
    // keeps its bytes, utf8() spells it as appendFileNameAsUtf8 does.
    ReportWriter& verbatim(std::string_view bytes);

    // The text as laid out: the program's 8-bit text, one byte a column.
    const std::string& text() const { return out_; }
    // The same text in UTF-8, for people's editors and terminals (core/code_page.h).
    std::string utf8() const;

private:
    std::string out_;
    std::size_t lineStart_ = 0;
    std::vector<std::pair<std::size_t, std::size_t>> verbatim_;  // start and length in out_
};

// The report of `system` (1-4) as the program's 8-bit text with CR LF line ends, one byte a column;
// the analysed file's name is its own bytes.
std::string sessionReportText(const CoreState& state, int system);

// Writes the report of `system` in UTF-8 (it is read by people, not by the program) to
// <program folder>/Reports/<yyyymmdd-hhnn>-Prim-<name>.txt
// ("-Sec<n>-" for secondary system n), making the folder when it is missing and replacing a
// report of the same name, then says where it went. A report that cannot be written is told
// as the failure's description followed by "(SUB: Print_Report)"; it leaves nothing behind,
// and an earlier report of the same name stays as it was. Returns whether it was written.
bool PrintReport(const CoreState& state, int system, const AppFolder& folder, const Clock& clock,
                 MessageBoxes& boxes);

}  // namespace tiderune
