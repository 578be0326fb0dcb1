// Fakes for the ports.
#include "support/Fakes.h"

#include <fstream>
#include <random>
#include <sstream>

namespace qv::test {

Answer FakeUi::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                       int defaultButton) {
    messages.push_back({title, text, buttons, icon});
    if (answers.empty()) return defaultAnswer(buttons, defaultButton);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::string FakeUi::input(const std::string& prompt, const std::string&, const std::string& proposed) {
    prompts.push_back(prompt);
    if (inputs.empty()) return proposed;
    std::string s = inputs.front();
    inputs.pop_front();
    return s;
}

TempDir::TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("quorvel-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void TempDir::write(const std::string& name, const std::string& content) const {
    // A name with folders in it ("Maps/x.txt") creates them first.
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream out(path_ / name, std::ios::binary);
    out << content;
}

} // namespace qv::test
