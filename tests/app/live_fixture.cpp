#include "live_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tiderune::test {

Pty::Pty() {
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    if (const char* name = ::ttyname(slave_)) path_ = name;
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
}

Pty::~Pty() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
}

void Pty::send(const std::string& bytes) {
    // Written as the terminal takes it. A port that stops reading for good would leave a
    // blocking write, and the test joining its writer, waiting for ever: it fails instead.
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    std::size_t done = 0;
    QDeadlineTimer stalled(SendStallMs);
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            stalled.setRemainingTime(SendStallMs);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            ADD_FAILURE() << "writing to the terminal: " << std::strerror(errno);
            break;
        } else if (stalled.hasExpired()) {
            ADD_FAILURE() << "the port took nothing for " << SendStallMs / 1000 << " s; " << bytes.size() - done
                          << " of " << bytes.size() << " bytes unsent";
            break;
        } else {
            pollfd out{master_, POLLOUT, 0};
            ::poll(&out, 1, 50);
        }
    }
    ::fcntl(master_, F_SETFL, flags);
}

std::size_t Pty::offer(const std::string& bytes) {
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    const ssize_t n = ::write(master_, bytes.data(), bytes.size());
    ::fcntl(master_, F_SETFL, flags);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::string sentence(const std::string& body) {
    int sum = 0;
    for (unsigned char ch : body) sum ^= ch;
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

void serialSystem(Config& c, int system, const std::string& name, int port) {
    SystemSetup& sys = c.Systems[system];
    sys.InUse = true;
    sys.Name = name;
    sys.ComPort = static_cast<std::int16_t>(port);
    ComportSetting& p = c.Comports[port];
    p.AssignedSystem = static_cast<std::int16_t>(system);
    p.Baud = 4800;
    p.Parity = "none";
    p.DataBits = 8;
    p.StopBits = 1;
}

void LiveTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    home = dir.path().toStdString() + "/Kestrelle/Tiderune/";
    std::filesystem::create_directories(home);
    clock.time = {2026, 12, 8, 14, 32, 5, 0};
}

void LiveTest::TearDown() {
    if (program) {
        program->window().hide();
        program.reset();
    }
    window = nullptr;
    logging = nullptr;
    live = nullptr;
    shell.reset();
}

void LiveTest::launch(SessionCore& c) {
    shell = std::make_unique<Shell>(c, ShellServices{boxes, *settingsStore, fileDialogs, devices, clock, home});
    program = std::make_unique<Program>(*shell, [this] { ++programEnded; });
    window = &program->window();
    logging = &program->logging();
    live = &program->live();
    program->start();
}

void LiveTest::start(std::function<void(Config&)> fill) {
    std::ofstream(home + "Tiderune.ini") << "setup\n";
    core.setupFile = std::move(fill);
    launch(core);
}

void LiveTest::startOnRealCore(const std::function<void(Config&)>& fill) {
    ProgramCore writer;
    writer.LoadDefaultSetup();
    fill(writer.state().config);
    writer.SaveSetupFile(home + "Tiderune.ini");
    realCore = std::make_unique<ProgramCore>();
    launch(*realCore);
}

// A Debug build under AddressSanitizer runs the program several times slower: the limits,
// which only guard against waiting for ever, stretch with it.
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
constexpr int SlowBuildFactor = 6;
#else
constexpr int SlowBuildFactor = 1;
#endif

bool LiveTest::waitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(static_cast<qint64>(ms) * SlowBuildFactor);
    QTimer tick;  // wakes the loop to look again
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::vector<std::string> LiveTest::lines() const {
    std::vector<std::string> out;
    const std::string prefix = "ProcessSentence ";
    for (const std::string& c : core.calls)
        if (c.rfind(prefix, 0) == 0) out.push_back(c.substr(prefix.size(), 1) + ":" + c.substr(prefix.size() + 2));
    return out;
}

std::vector<std::string> LiveTest::boxTexts() const {
    std::vector<std::string> t;
    for (const auto& r : boxes.script.shown) t.push_back(r.text);
    return t;
}

std::string LiveTest::readFile(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace tiderune::test
