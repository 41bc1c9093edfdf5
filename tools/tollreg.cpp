// tollreg: query, set, delete, export and import the Tollwatch settings store.

#include "RegFile.h"
#include "RegistryLocation.h"
#include "SqliteRegistryStore.h"
#include "TollwatchVersion.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char* const kHelp =
    "Usage: tollreg [options] COMMAND ...\n"
    "Queries, sets, deletes, exports and imports the Tollwatch settings store.\n"
    "\n"
    "Commands:\n"
    "  query KEY [NAME]          print the values of KEY, or the data of one value\n"
    "  set KEY NAME DATA         write a string value\n"
    "  set KEY NAME --dword N    write a dword value (decimal, or hexadecimal after 0x)\n"
    "  delete KEY [NAME]         delete a key with everything below it, or one value\n"
    "  export [KEY]              write a registry file to standard output\n"
    "  import FILE               read a registry file ('-' for standard input)\n"
    "KEY starts with HKEY_CURRENT_USER (HKCU) or HKEY_LOCAL_MACHINE (HKLM);\n"
    "NAME \"@\" is the key's default value.\n"
    "\n"
    "Options:\n"
    "  -h, --help         Displays this help.\n"
    "  -v, --version      Displays version information.\n"
    "  --registry <FILE>  The settings store (else $TOLLWATCH_REGISTRY, else\n"
    "                     $XDG_CONFIG_HOME/varnholt/registry.sqlite).\n"
    "  --fresh-store      A store refused as damaged is kept as FILE.damaged and a\n"
    "                     new, empty one takes its place (then import your\n"
    "                     settings into it).\n"
    "\n"
    "Exit status: 0 done; 1 the key, the value or a file was not found or could not\n"
    "be used; 2 the command line was not understood.\n";

void out(const QString& s) {
    const QByteArray b = s.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
}

int fail(const QString& s) {
    std::fprintf(stderr, "tollreg: %s\n", s.toLocal8Bit().constData());
    return 1;
}

QString valueName(const QString& arg) {
    return arg == QLatin1String("@") ? QString() : arg;
}

QString plainData(const RegValue& v) {
    switch (v.type) {
    case RegType::String:
        return v.text;
    case RegType::DWord:
        return QString::number(v.dword);
    case RegType::Binary:
        return QString::fromLatin1(v.binary.toHex(','));
    }
    return QString();
}

int query(RegistryStore& store, const QStringList& args) {
    const auto key = RegFile::parseKeyName(args.at(0));
    if (!store.keyExists(key.root, key.path))
        return fail(QStringLiteral("key not found: %1").arg(args.at(0)));
    if (args.size() > 1) {
        const auto v = store.readValue(key.root, key.path, valueName(args.at(1)));
        if (!v)
            return fail(QStringLiteral("value not found: %1").arg(args.at(1)));
        out(plainData(*v) + QLatin1Char('\n'));
        return 0;
    }
    for (const QString& name : store.valueNames(key.root, key.path)) {
        const auto v = store.readValue(key.root, key.path, name);
        // Quoted and escaped as in a registry file, so the line reads back.
        const QString shown =
            name.isEmpty() ? QStringLiteral("@") : RegFile::formatData(RegValue::fromString(name));
        out(shown + QLatin1Char('=') + RegFile::formatData(*v) + QLatin1Char('\n'));
    }
    return 0;
}

int set(RegistryStore& store, const QStringList& args) {
    const auto key = RegFile::parseKeyName(args.at(0));
    RegValue value = RegValue::fromString(args.at(2));
    if (args.at(2) == QLatin1String("--dword")) {
        // Decimal, or hexadecimal after "0x"; a leading zero does not mean octal.
        const QString digits = args.value(3);
        const bool hex = digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
        bool ok = false;
        const uint n = hex ? digits.mid(2).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
        if (!ok)
            return fail(QStringLiteral("--dword needs a number from 0 to 4294967295"));
        value = RegValue::fromDWord(n);
    }
    store.writeValue(key.root, key.path, valueName(args.at(1)), value);
    return 0;
}

int remove(RegistryStore& store, const QStringList& args) {
    const auto key = RegFile::parseKeyName(args.at(0));
    if (args.size() > 1) {
        if (!store.deleteValue(key.root, key.path, valueName(args.at(1))))
            return fail(QStringLiteral("value not found: %1").arg(args.at(1)));
        return 0;
    }
    if (!store.deleteKey(key.root, key.path))
        return fail(QStringLiteral("key not found: %1").arg(args.at(0)));
    return 0;
}

int import(RegistryStore& store, const QString& fileName) {
    QFile f;
    const bool ok = fileName == QLatin1String("-")
                        ? f.open(stdin, QIODevice::ReadOnly)
                        : (f.setFileName(fileName), f.open(QIODevice::ReadOnly));
    if (!ok)
        return fail(QStringLiteral("cannot read %1: %2").arg(fileName, f.errorString()));
    try {
        RegFile::importText(store, RegFile::decodeFile(f.readAll()));
    } catch (const RegFile::SyntaxError& e) {
        return fail(QStringLiteral("%1: %2; nothing was imported")
                        .arg(fileName, QString::fromStdString(e.what())));
    }
    return 0;
}

// The store, or with --fresh-store a new one in place of a damaged one.
std::unique_ptr<SqliteRegistryStore> openStore(const QString& fileName, bool fresh) {
    if (!fresh)
        return std::make_unique<SqliteRegistryStore>(fileName);
    QString aside;
    auto store = SqliteRegistryStore::openAfresh(fileName, &aside);
    if (!aside.isEmpty())
        std::fprintf(stderr, "tollreg: the damaged settings store was kept as %s\n",
                     aside.toLocal8Bit().constData());
    return store;
}

// Why a command line is not understood; empty when it is.
QString mistake(const QString& command, const QStringList& rest) {
    if (command.isEmpty())
        return QStringLiteral("a command is missing");
    const QHash<QString, QString> forms{
        {QStringLiteral("query"), QStringLiteral("query KEY [NAME]")},
        {QStringLiteral("set"), QStringLiteral("set KEY NAME DATA, or set KEY NAME --dword N")},
        {QStringLiteral("delete"), QStringLiteral("delete KEY [NAME]")},
        {QStringLiteral("export"), QStringLiteral("export [KEY]")},
        {QStringLiteral("import"), QStringLiteral("import FILE")}};
    if (!forms.contains(command))
        return command.startsWith(QLatin1Char('-'))
                   ? QStringLiteral("unknown option %1").arg(command)
                   : QStringLiteral("unknown command %1").arg(command);
    const bool fits =
        (command == QLatin1String("query") && !rest.isEmpty() && rest.size() <= 2) ||
        (command == QLatin1String("set") &&
         (rest.size() == 3 || (rest.size() == 4 && rest.at(2) == QLatin1String("--dword")))) ||
        (command == QLatin1String("delete") && !rest.isEmpty() && rest.size() <= 2) ||
        (command == QLatin1String("export") && rest.size() <= 1) ||
        (command == QLatin1String("import") && rest.size() == 1);
    return fits ? QString() : QStringLiteral("usage: tollreg %1").arg(forms.value(command));
}

int run(const QStringList& all) {
    const QString freshOption = QLatin1String(SqliteRegistryStore::kFreshStoreOption);
    QStringList args = RegistryLocation::withoutRegistryOption(all);
    const bool fresh = args.removeAll(freshOption) > 0;
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        std::puts("tollreg " TOLLWATCH_VERSION);
        return 0;
    }
    const QString why = mistake(command, rest);
    if (!why.isEmpty()) {
        std::fprintf(stderr, "tollreg: %s\nTry 'tollreg --help' for more information.\n",
                     why.toLocal8Bit().constData());
        return 2;
    }
    const auto opened = openStore(RegistryLocation::resolve(all), fresh);
    SqliteRegistryStore& store = *opened;
    if (command == QLatin1String("query"))
        return query(store, rest);
    if (command == QLatin1String("set"))
        return set(store, rest);
    if (command == QLatin1String("delete"))
        return remove(store, rest);
    if (command == QLatin1String("import"))
        return import(store, rest.at(0));
    std::optional<RegFile::KeyName> key;
    if (!rest.isEmpty()) {
        key = RegFile::parseKeyName(rest.at(0));
        if (!store.keyExists(key->root, key->path))
            return fail(QStringLiteral("key not found: %1").arg(rest.at(0)));
    }
    out(RegFile::exportText(store, key));
    return 0;
}

// What query and export printed is only written once it has left the
// buffer: a full disk refuses at the flush, and that must not pass for success.
int flushed(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    fail(QStringLiteral("cannot write the standard output: %1")
             .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return flushed(run(app.arguments().mid(1)));
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
