// QProcess-backed program starter and the choice of text editor.
#include "platform/ProcessRunner.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <sstream>

namespace qv {

bool QtProcessRunner::start(const std::string& program, const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args)
        list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

bool QtProcessRunner::startIn(const std::string& program, const std::vector<std::string>& args,
                              const std::string& workingDirectory, WindowStyle) {
    QStringList list;
    for (const auto& a : args)
        list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), list, QString::fromStdString(workingDirectory));
}

std::string QtProcessRunner::environment(const std::string& name) {
    return qEnvironmentVariable(name.c_str()).toStdString();
}

bool QtProcessRunner::available(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

namespace {

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

} // namespace

bool openInTextEditor(ProcessRunner& runner, const std::string& file) {
    if (auto visual = words(runner.environment("VISUAL")); !visual.empty()) {
        std::vector<std::string> args(visual.begin() + 1, visual.end());
        args.push_back(file);
        if (runner.start(visual.front(), args)) return true;
    }
    if (auto editor = words(runner.environment("EDITOR")); !editor.empty()) {
        // A terminal editor needs a terminal of its own: the program has none.
        std::vector<std::string> terminals;
        if (auto t = runner.environment("TERMINAL"); !t.empty()) terminals.push_back(t);
        terminals.insert(terminals.end(), {"x-terminal-emulator", "xterm"});
        for (const auto& term : terminals) {
            if (!runner.available(term)) continue;
            std::vector<std::string> args{"-e"};
            args.insert(args.end(), editor.begin(), editor.end());
            args.push_back(file);
            if (runner.start(term, args)) return true;
        }
    }
    return runner.start("xdg-open", {file});
}

} // namespace qv
