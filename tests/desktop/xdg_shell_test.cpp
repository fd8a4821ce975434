// The Qt shell's "open" action: the help page's address, made from a program folder whose name
// holds Chinese, a space and a '#', reaches the desktop's handler as that very file. Qt's own
// handler registry stands in for the desktop, so no browser starts.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QGuiApplication>
#include <QObject>
#include <QUrl>
#include <cstdlib>
#include <vector>

#include "platform/posix/posix_file_system.h"
#include "platform/qt/freedesktop_services.h"
#include "settings/settings_actions.h"

namespace {

class RecordingHandler : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

class XdgShellTest : public ::testing::Test {
protected:
    void SetUp() override { QDesktopServices::setUrlHandler(QStringLiteral("file"), &handler_, "open"); }
    void TearDown() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    RecordingHandler handler_;
    vostrel::platform::qt::XdgShell shell_;
};

TEST_F(XdgShellTest, TheHelpPageOpensAsTheFileBesideTheProgram) {
    const vostrel::platform::PosixFileSystem files("/tmp/考试 楼/Vostrel #1");
    shell_.openWebPage(vostrel::settings::downloadPageAddress(files));
    ASSERT_EQ(handler_.opened.size(), 1u);
    EXPECT_TRUE(handler_.opened[0].isLocalFile());
    EXPECT_EQ(handler_.opened[0].toLocalFile(), QStringLiteral("/tmp/考试 楼/Vostrel #1/help/voice-files.html"));
}

TEST_F(XdgShellTest, AnEmptyOrMalformedAddressOpensNothing) {
    shell_.openWebPage("");
    shell_.openWebPage("file:///tmp/%zz");
    EXPECT_TRUE(handler_.opened.empty());
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "xdg_shell_test.moc"
