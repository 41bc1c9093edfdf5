// The e-mail programs: stored command lines taken apart as the old program
// did, desktop entries' Exec lines, and the desktop's mailto handlers found
// in a private XDG tree (entries, overrides, hidden ones, the associations
// mimeapps.list adds and removes, xdg-mime's default), listed after the
// store's own programs.

#include "MailPrograms.h"
#include "DesktopMailHandlers.h"
#include "ExecCommandLine.h"
#include "MemoryRegistryStore.h"
#include "RecordingView.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(StoredMailCommandTest, TheOldProgramsRulesForQuotesAndSwitches) {
    using MailPrograms::splitStoredCommand;
    const auto quoted =
        splitStoredCommand(QStringLiteral("\"C:\\Program Files\\Mail\\mail.exe\" /check /x"));
    EXPECT_EQ(quoted.program, QStringLiteral("C:\\Program Files\\Mail\\mail.exe"));
    EXPECT_TRUE(quoted.parameters.isEmpty());
    const auto switched = splitStoredCommand(QStringLiteral("C:\\MAIL\\MAIL.EXE /check"));
    EXPECT_EQ(switched.program, QStringLiteral("C:\\MAIL\\MAIL.EXE "));
    EXPECT_EQ(switched.parameters, QStringLiteral("/check"));
    const auto plain = splitStoredCommand(QStringLiteral("C:\\MAIL\\MAIL.EXE"));
    EXPECT_EQ(plain.program, QStringLiteral("C:\\MAIL\\MAIL.EXE"));
    EXPECT_TRUE(plain.parameters.isEmpty());
    // A quote not at the start still drops the first character.
    EXPECT_EQ(splitStoredCommand(QStringLiteral("mail \"x\"")).program, QStringLiteral("ail "));
    const auto unclosed = splitStoredCommand(QStringLiteral("\"C:\\a b\\m.exe"));
    EXPECT_EQ(unclosed.program, QStringLiteral("C:\\a b\\m.exe"));
    EXPECT_TRUE(splitStoredCommand(QString()).program.isEmpty());
}

TEST(ExecCommandLineTest, QuotingEscapesAndFieldCodes) {
    using ExecCommandLine::split;
    EXPECT_EQ(split(QStringLiteral("\"/opt/My Mail/mail\" --compose %u")),
              (QStringList{"/opt/My Mail/mail", "--compose"}));
    EXPECT_EQ(split(QStringLiteral("mail \"say \\\"hi\\\" \\$HOME\" 100%%")),
              (QStringList{"mail", "say \"hi\" $HOME", "100%"}));
    EXPECT_EQ(
        split(QStringLiteral("mail %i --title=%c %k %F"), {"Mail", "mail-icon", "/a.desktop"}),
        (QStringList{"mail", "--icon", "mail-icon", "--title=Mail", "/a.desktop"}));
    EXPECT_EQ(split(QStringLiteral("mail %i")), QStringList{"mail"});
    EXPECT_TRUE(split(QStringLiteral("   ")).isEmpty());
}

// A private XDG tree; the machine's own applications never show.
class DesktopHandlersTest : public ::testing::Test {
protected:
    DesktopHandlersTest() {
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME",
                                 "XDG_CONFIG_DIRS", "XDG_CURRENT_DESKTOP"})
            m_saved.append({name, qgetenv(name)});
        qputenv("XDG_DATA_HOME", path("datahome").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", path("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", path("config").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", path("configdirs").toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    ~DesktopHandlersTest() override {
        for (const auto& s : m_saved)
            qputenv(s.first, s.second);
    }
    QString path(const QString& relative) const { return m_dir.path() + '/' + relative; }
    void write(const QString& relative, const QString& text) {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    void entry(const QString& relative, const QString& name, const QString& exec,
               const QString& extra = QStringLiteral("MimeType=x-scheme-handler/mailto;\n")) {
        write(relative, "[Desktop Entry]\nType=Application\nName=" + name + "\nName[de]=Post\n" +
                            "Exec=" + exec + "\n" + extra);
    }
    void typicalTree() {
        entry("data/applications/alpha.desktop", "Alpha Mail", "\"/opt/alpha mail/alpha\" %u");
        entry("data/applications/beta.desktop", "Beta", "beta %u");
        entry("datahome/applications/beta.desktop", "Beta Home", "beta-home --mailto %u");
        entry("data/applications/hidden.desktop", "Hidden", "hidden",
              "MimeType=x-scheme-handler/mailto;\nHidden=true\n");
        entry("data/applications/absent.desktop", "Absent", "absent",
              "MimeType=x-scheme-handler/mailto;\nTryExec=no-such-program-here\n");
        entry("data/applications/gamma.desktop", "Gamma", "gamma", "MimeType=text/plain;\n");
        entry("data/applications/delta.desktop", "Delta", "delta");
        entry("data/applications/viewer.desktop", "Viewer", "viewer", "MimeType=image/png;\n");
        entry("data/applications/kde/epsilon.desktop", "Epsilon", "epsilon\\sx");
        write("config/mimeapps.list", "[Added Associations]\n"
                                      "x-scheme-handler/mailto=gamma.desktop;\n"
                                      "[Removed Associations]\n"
                                      "x-scheme-handler/mailto=delta.desktop;\n"
                                      "[Default Applications]\n"
                                      "x-scheme-handler/mailto=beta.desktop\n");
    }
    static QStringList names(const QList<DesktopMailHandler>& handlers) {
        QStringList out;
        for (const DesktopMailHandler& h : handlers)
            out << h.name;
        return out;
    }
    static bool haveXdgMime() {
        return !QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty();
    }

    QTemporaryDir m_dir;
    QList<QPair<const char*, QByteArray>> m_saved;
};

TEST_F(DesktopHandlersTest, HandlersAreTheEntriesAndAssociationsThatRemainDefaultFirst) {
    typicalTree();
    const QList<DesktopMailHandler> handlers = DesktopMailHandlers::list();
    if (!haveXdgMime())
        GTEST_SKIP() << "xdg-mime is not installed (package xdg-utils)";
    EXPECT_EQ(names(handlers), (QStringList{"Beta Home", "Alpha Mail", "Epsilon", "Gamma"}));
    EXPECT_TRUE(handlers[0].isDefault);
    EXPECT_EQ(handlers[0].program, QStringLiteral("beta-home"));
    EXPECT_EQ(handlers[0].arguments, QStringList{"--mailto"});
    EXPECT_EQ(handlers[1].program, QStringLiteral("/opt/alpha mail/alpha"));
    EXPECT_EQ(handlers[2].id, QStringLiteral("kde-epsilon.desktop"));
    // \s is a space, and a space outside quotes separates arguments.
    EXPECT_EQ(handlers[2].program, QStringLiteral("epsilon"));
    EXPECT_EQ(handlers[2].arguments, QStringList{"x"});
}

TEST_F(DesktopHandlersTest, TheStoresProgramsComeFirstAndAreFoundBeforeTheDesktops) {
    typicalTree();
    if (!haveXdgMime())
        GTEST_SKIP() << "xdg-mime is not installed (package xdg-utils)";
    MemoryRegistryStore store;
    const QString key = MailPrograms::kClientsKey;
    store.writeValue(RegRoot::LocalMachine, key + "\\Outlook Express\\shell\\open\\command",
                     QString(), RegValue::fromString("\"C:\\OE\\msimn.exe\" /mail"));
    store.createKey(RegRoot::LocalMachine, key + "\\Alpha Mail");
    EXPECT_EQ(MailPrograms::names(store),
              (QStringList{"Outlook Express", "Alpha Mail", "Beta Home", "Epsilon", "Gamma"}));
    EXPECT_EQ(MailPrograms::defaultName(store), QStringLiteral("Beta Home"));
    store.writeValue(RegRoot::LocalMachine, key, QString(),
                     RegValue::fromString(QStringLiteral("Outlook Express")));
    EXPECT_EQ(MailPrograms::defaultName(store), QStringLiteral("Outlook Express"));

    const MailProgram stored = MailPrograms::find(store, QStringLiteral("outlook express"));
    EXPECT_EQ(stored.program, QDir::homePath() + QStringLiteral("/OE/msimn.exe"));
    // A store key without a command does not hide the desktop's program.
    EXPECT_EQ(MailPrograms::find(store, QStringLiteral("alpha mail")).program,
              QStringLiteral("/opt/alpha mail/alpha"));
    EXPECT_EQ(MailPrograms::find(store, QStringLiteral("gamma.desktop")).name,
              QStringLiteral("Gamma"));
    // An unknown name, such as the old default "Exchange", is the default.
    EXPECT_EQ(MailPrograms::find(store, QStringLiteral("Exchange")).program,
              QStringLiteral("beta-home"));
}

TEST_F(DesktopHandlersTest, WithoutAnyHandlerThereIsNoProgram) {
    entry("data/applications/viewer.desktop", "Viewer", "viewer", "MimeType=image/png;\n");
    MemoryRegistryStore store;
    EXPECT_TRUE(DesktopMailHandlers::list().isEmpty());
    EXPECT_TRUE(MailPrograms::find(store, QStringLiteral("Exchange")).program.isEmpty());
    EXPECT_TRUE(MailPrograms::defaultName(store).isEmpty());
    EXPECT_TRUE(MailPrograms::names(store).isEmpty());
}

} // namespace
