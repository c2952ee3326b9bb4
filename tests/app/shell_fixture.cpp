#include "shell_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <fstream>

namespace tiderune::test {

void TestCore::SaveSetupFile(const std::string& path) {
    calls.push_back("SaveSetupFile " + path);
    if (failSave) throw RuntimeError(err::DiskFull, "Disk full");
    saves.push_back({path, state_->config.WindowVisible[1][VisibleForms::Numerics]});
    std::ofstream(path) << "saved\n";
}

void useSystem(Config& c, int s, const std::string& name, std::initializer_list<SentenceType> types) {
    SystemSetup& sys = c.Systems[s];
    sys.InUse = true;
    sys.Name = name;
    sys.ComPort = static_cast<std::int16_t>(s);
    c.Comports[s].Baud = 4800;
    c.Comports[s].Parity = "none";
    c.Comports[s].DataBits = 8;
    c.Comports[s].StopBits = 1;
    for (SentenceType t : types) sys.analysed(t) = true;
}

void ShellTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    home = dir.path().toStdString() + "/Kestrelle/Tiderune/";
    clock.time = {2026, 12, 8, 14, 32, 5, 0};
}

void ShellTest::TearDown() {
    if (program) {
        // Leave without the closing steps: the test is over.
        program->window().hide();
        program.reset();
    }
    window = nullptr;
    shell.reset();
}

void ShellTest::haveSetupFile(std::function<void(Config&)> fill) {
    std::filesystem::create_directories(home);
    std::ofstream(home + "Tiderune.ini") << "\"REM Mode\"\r\n";  // a section line: File Open takes it
    core.setupFile = std::move(fill);
}

void ShellTest::start() {
    SessionCore& c = realCore ? *realCore : static_cast<SessionCore&>(core);
    shell = std::make_unique<Shell>(c, ShellServices{boxes, settings, fileDialogs, *deviceFactory, clock, home});
    program = std::make_unique<Program>(*shell, [this] { ++programEnded; });
    window = &program->window();
    program->start();
}

bool ShellTest::exitProgram() {
    action("mnuFileExit")->trigger();
    return !window->isVisible();
}

std::vector<std::string> ShellTest::boxTexts() const {
    std::vector<std::string> t;
    for (const auto& r : boxes.shown) t.push_back(r.text);
    return t;
}

int ShellTest::windowsLoaded(WindowKind kind, int system) const {
    int n = 0;
    for (QMdiSubWindow* sub : window->mdiArea()->subWindowList()) {
        auto* w = qobject_cast<ChildWindow*>(sub->widget());
        if (w && w->kind() == kind && w->system() == system) ++n;
    }
    return n;
}

}  // namespace tiderune::test
