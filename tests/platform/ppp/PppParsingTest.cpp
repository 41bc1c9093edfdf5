// Reading pppd's option syntax, its command lines and its exit statuses.

#include "PppExitStatus.h"
#include "PppOptionsFile.h"
#include "PppPeers.h"
#include "PppdProcesses.h"

#include "RasConstants.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PppOptionsFile, WordsFollowPppdQuotingAndComments) {
    const QString text = QStringLiteral("/dev/ttyS0 115200 # the modem\n"
                                        "connect \"/usr/sbin/chat -v -f /etc/chatscripts/isp\"\n"
                                        "user \"a b\"#no comment inside a word\n"
                                        "password back\\\\slash\\\"quote\n");
    EXPECT_EQ(PppOptionsFile::words(text),
              (QStringList{"/dev/ttyS0", "115200", "connect",
                           "/usr/sbin/chat -v -f /etc/chatscripts/isp", "user", "a b#no", "comment",
                           "inside", "a", "word", "password", "back\\slash\"quote"}));
    EXPECT_EQ(PppOptionsFile::valueOf({"unit", "1", "unit", "2"}, QStringLiteral("unit")),
              QStringLiteral("2"))
        << "later options win";
    EXPECT_EQ(PppOptionsFile::valueOf({"unit"}, QStringLiteral("unit")), QString());
    for (const QString& word : {QStringLiteral("pa ss"), QStringLiteral("q\"uo\\te"),
                                QStringLiteral("#hash"), QString()}) {
        EXPECT_EQ(PppOptionsFile::words(PppOptionsFile::quoted(word)), QStringList{word})
            << word.toStdString();
    }
}

TEST(PppdProcesses, CommandLineReadsThePeerFileWhereCallNamesIt) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("peers"));
    QFile peer(dir.filePath(QStringLiteral("peers/isp")));
    ASSERT_TRUE(peer.open(QIODevice::WriteOnly));
    peer.write("unit 3\nlinkname home\n");
    peer.close();
    const PppPeers peers(dir.filePath(QStringLiteral("peers")), dir.path());

    PppdProcess p = PppdProcesses::parse(42, {"call", "isp"}, peers);
    EXPECT_EQ(p.pid, 42);
    EXPECT_EQ(p.callName, QStringLiteral("isp"));
    EXPECT_EQ(p.linkName, QStringLiteral("home"));
    EXPECT_EQ(p.ifname, QStringLiteral("ppp3"));
    EXPECT_EQ(p.entryName(), QStringLiteral("isp"));

    p = PppdProcesses::parse(43, {"call", "isp", "ifname", "dsl0"}, peers);
    EXPECT_EQ(p.ifname, QStringLiteral("dsl0")) << "options after call override the file";
    p = PppdProcesses::parse(44, {"unit", "9", "call", "isp"}, peers);
    EXPECT_EQ(p.ifname, QStringLiteral("ppp3")) << "the file read in at call comes later";
    p = PppdProcesses::parse(45, {"/dev/ttyUSB2", "linkname", "mobile"}, peers);
    EXPECT_EQ(p.entryName(), QStringLiteral("mobile"));
    EXPECT_TRUE(p.ifname.isEmpty());
    p = PppdProcesses::parse(46, {"call", "../../etc/passwd"}, peers);
    EXPECT_TRUE(p.linkName.isEmpty()) << "no file outside the peers folder is read";
}

TEST(PppExitStatus, EveryFailureIsADialErrorWithAText) {
    for (int status = 1; status <= 25; ++status) {
        const int error = PppExitStatus::rasError(status);
        EXPECT_GE(error, int(RasError::FirstFailure)) << status;
        EXPECT_FALSE(rasErrorText(error).isEmpty()) << status;
    }
    EXPECT_EQ(PppExitStatus::rasError(19), int(RasError::AuthenticationFailure));
    EXPECT_EQ(PppExitStatus::rasError(16), int(RasError::NoCarrier));
    EXPECT_EQ(PppExitStatus::rasError(5), int(RasError::UserDisconnection));
}

} // namespace
