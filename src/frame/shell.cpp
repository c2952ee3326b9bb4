#include "frame/shell.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace tiderune {

const char* const Shell::VersionText = "v 3.02a - 26 Sep 2019 ";

Shell::Shell(SessionCore& c, const ShellServices& s)
    : core(c),
      coreState(c.state()),
      config(c.state().config),
      run(c.state().run),
      services(s),
      gate(s.boxes),
      sink(*this),
      windows(*this) {
    if (services.appFolder.empty() || services.appFolder.back() != '/') services.appFolder += '/';
    gate.setPoster([this](std::function<void()> work) {
        QMetaObject::invokeMethod(&eventLoopContext_, std::move(work), Qt::QueuedConnection);
    });
}

WindowServices& Shell::host() const {
    if (!host_) throw std::logic_error("No main window for the child windows");
    return *host_;
}

void Shell::processSentence(int system, std::string_view line) {
    // The gate's call holds one pointer, which std::function keeps without allocating: this
    // runs for every line of every source.
    const struct {
        Shell& shell;
        int system;
        std::string_view line;
    } call{*this, system, line};
    gate.processLine([&call] { call.shell.core.ProcessSentence(call.shell.sink, call.system, call.line); });
}

MessageAnswer Shell::ask(const std::string& text, MessageButtons buttons, MessageAnswer defaultAnswer,
                         MessageIcon icon) {
    return gate.ask({text, {}, buttons, icon, defaultAnswer});
}

double Shell::settingNumber(const std::string& key, double fallback) const {
    std::string v = services.settings.value(ApplicationTitle, "Settings", key, "");
    if (v.empty()) return fallback;
    for (char& ch : v)
        if (ch == ',') ch = '.';
    char* end = nullptr;
    double d = std::strtod(v.c_str(), &end);
    return end == v.c_str() ? fallback : d;
}

void Shell::setSettingNumber(const std::string& key, double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(static_cast<float>(value)));
    services.settings.setValue(ApplicationTitle, "Settings", key, buf);
}

}  // namespace tiderune
