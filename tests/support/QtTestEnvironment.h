#pragma once

// The Qt application object of a test program: made before its first test,
// gone after its last. Never on the developer's own desktop: without
// QT_QPA_PLATFORM the offscreen platform is used. A test program's windows
// come and go without ending anything.

#include <QGuiApplication>
#include <QtGlobal>
#include <array>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace velmar {

template <class Application> class QtTestEnvironment : public ::testing::Environment {
public:
    explicit QtTestEnvironment(std::string programName) : m_Name(std::move(programName)) {}

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_Argv = {m_Name.data(), nullptr};
        m_App = std::make_unique<Application>(m_Argc, m_Argv.data());
        if constexpr (std::is_base_of_v<QGuiApplication, Application>) {
            Application::setQuitOnLastWindowClosed(false);
        }
    }
    void TearDown() override { m_App.reset(); }

private:
    std::string m_Name;
    int m_Argc = 1; // Qt keeps a reference to it for the application's life
    std::array<char*, 2> m_Argv{};
    std::unique_ptr<Application> m_App;
};

// Registers the program's application object with GoogleTest, which owns it.
template <class Application>::testing::Environment* AddQtTestEnvironment(std::string programName) {
    return ::testing::AddGlobalTestEnvironment(new QtTestEnvironment<Application>(std::move(programName)));
}

} // namespace velmar
