// The behaviour every RegistryStore must show, run against the SQLite store
// and the in-memory fake alike, so that tests using the fake stay truthful.

#include "MemoryRegistryStore.h"
#include "SqliteRegistryStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct SqliteBackend {
    QTemporaryDir dir;
    std::unique_ptr<RegistryStore> make() {
        return std::make_unique<SqliteRegistryStore>(dir.filePath(QStringLiteral("reg.sqlite")));
    }
};

struct MemoryBackend {
    std::unique_ptr<RegistryStore> make() { return std::make_unique<MemoryRegistryStore>(); }
};

template <class Backend> class RegistryStoreContract : public ::testing::Test {
protected:
    Backend backend;
    std::unique_ptr<RegistryStore> store = backend.make();
    const RegRoot hkcu = RegRoot::CurrentUser;

    void put(const QString& path, const QString& name, const QString& text) {
        store->writeValue(hkcu, path, name, RegValue::fromString(text));
    }
    QString get(const QString& path, const QString& name) const {
        const auto v = store->readValue(hkcu, path, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
};

using Backends = ::testing::Types<SqliteBackend, MemoryBackend>;
TYPED_TEST_SUITE(RegistryStoreContract, Backends);

struct Boom {};

TYPED_TEST(RegistryStoreContract, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
    this->put("Software\\Varnholt\\Farrowline", "Standard Rate", "0.20");
    this->put("SOFTWARE\\varnholt\\FARROWLINE", "standard rate", "0.25");
    this->put("\\software\\Varnholt\\farrowline\\", "Cheap rate", "0.10");

    EXPECT_EQ(this->get("software\\VARNHOLT\\Farrowline", "STANDARD RATE"), "0.25");
    EXPECT_EQ(this->store->valueNames(this->hkcu, "SOFTWARE\\VARNHOLT\\FARROWLINE"),
              QStringList({"Standard Rate", "Cheap rate"}));
    EXPECT_EQ(this->store->subKeyNames(this->hkcu, ""), QStringList({"Software"}));
    EXPECT_EQ(this->store->subKeyNames(this->hkcu, "software"), QStringList({"Varnholt"}));
    EXPECT_TRUE(this->store->keyExists(this->hkcu, "Software\\varnholt"));
    // Non-ASCII letters fold too.
    this->put("Software\\Ärende", "Öre", "1");
    EXPECT_EQ(this->get("software\\ärende", "öRE"), "1");
}

TYPED_TEST(RegistryStoreContract, ValuesKeepTheirTypeAndTheDefaultValueHasTheEmptyName) {
    RegistryStore& s = *this->store;
    const QString key = "Software\\Types";
    const QByteArray bytes("\x00\xff\x10\x00", 4);
    s.writeValue(this->hkcu, key, "", RegValue::fromString("default"));
    s.writeValue(this->hkcu, key, "Text", RegValue::fromString(QString::fromUtf8("Kr 1,50 – ø")));
    s.writeValue(this->hkcu, key, "Empty", RegValue::fromString(""));
    s.writeValue(this->hkcu, key, "Max", RegValue::fromDWord(0xffffffffu));
    s.writeValue(this->hkcu, key, "Bin", RegValue::fromBinary(bytes));

    EXPECT_EQ(*s.readValue(this->hkcu, key, ""), RegValue::fromString("default"));
    EXPECT_EQ(*s.readValue(this->hkcu, key, "text"),
              RegValue::fromString(QString::fromUtf8("Kr 1,50 – ø")));
    EXPECT_EQ(*s.readValue(this->hkcu, key, "Empty"), RegValue::fromString(""));
    EXPECT_EQ(*s.readValue(this->hkcu, key, "Max"), RegValue::fromDWord(0xffffffffu));
    EXPECT_EQ(*s.readValue(this->hkcu, key, "Bin"), RegValue::fromBinary(bytes));
    EXPECT_FALSE(s.readValue(this->hkcu, key, "Absent").has_value());
    EXPECT_FALSE(s.readValue(this->hkcu, "Software\\Nowhere", "").has_value());

    // Overwriting may change the type.
    s.writeValue(this->hkcu, key, "text", RegValue::fromDWord(7));
    EXPECT_EQ(*s.readValue(this->hkcu, key, "Text"), RegValue::fromDWord(7));
}

TYPED_TEST(RegistryStoreContract, RootsAreSeparateTrees) {
    RegistryStore& s = *this->store;
    s.writeValue(RegRoot::LocalMachine, "SOFTWARE\\Varnholt", "PC Total time",
                 RegValue::fromString("12"));
    EXPECT_FALSE(s.keyExists(this->hkcu, "Software\\Varnholt"));
    EXPECT_FALSE(s.readValue(this->hkcu, "Software\\Varnholt", "PC Total time").has_value());
    EXPECT_EQ(s.readValue(RegRoot::LocalMachine, "software\\varnholt", "pc total time")->text,
              "12");
}

TYPED_TEST(RegistryStoreContract, ValuesOfAKeyComeInOneReadWithTheirFirstSpelling) {
    this->put("Software\\V", "Alpha", "1");
    this->put("software\\v", "BETA", "2");
    this->put("Software\\V", "alpha", "3");
    this->put("Software\\V\\Sub", "Gamma", "4");
    auto values = this->store->values(this->hkcu, "SOFTWARE\\V");
    std::sort(values.begin(), values.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0].first, "Alpha");
    EXPECT_EQ(values[0].second, RegValue::fromString("3"));
    EXPECT_EQ(values[1].first, "BETA");
    EXPECT_TRUE(this->store->values(this->hkcu, "Software\\Missing").isEmpty());
    EXPECT_TRUE(this->store->values(RegRoot::LocalMachine, "Software\\V").isEmpty());
}

TYPED_TEST(RegistryStoreContract, NamesAreListedInCreationOrder) {
    RegistryStore& s = *this->store;
    for (const char* name : {"b", "A", "c"})
        this->put("Software\\Order", name, "1");
    s.createKey(this->hkcu, "Software\\Order\\zeta\\inner");
    s.createKey(this->hkcu, "Software\\Order\\Alpha");
    EXPECT_EQ(s.valueNames(this->hkcu, "Software\\Order"), QStringList({"b", "A", "c"}));
    EXPECT_EQ(s.subKeyNames(this->hkcu, "Software\\Order"), QStringList({"zeta", "Alpha"}));

    // A deleted and re-created name goes to the end with its new spelling.
    EXPECT_TRUE(s.deleteValue(this->hkcu, "Software\\Order", "B"));
    EXPECT_FALSE(s.deleteValue(this->hkcu, "Software\\Order", "b"));
    this->put("Software\\Order", "B", "2");
    EXPECT_EQ(s.valueNames(this->hkcu, "Software\\Order"), QStringList({"A", "c", "B"}));
    EXPECT_TRUE(s.valueNames(this->hkcu, "Software\\Missing").isEmpty());
}

TYPED_TEST(RegistryStoreContract, DeleteKeyRemovesTheWholeSubtreeAndNothingElse) {
    RegistryStore& s = *this->store;
    this->put("A\\B", "v", "1");
    this->put("A\\B\\C\\D", "deep", "2");
    this->put("A\\BC", "sibling", "3");
    this->put("A\\BC\\E", "below sibling", "4");
    this->put("A", "parent", "5");
    s.writeValue(RegRoot::LocalMachine, "A\\B", "other root", RegValue::fromString("6"));

    EXPECT_TRUE(s.deleteKey(this->hkcu, "a\\b"));
    EXPECT_FALSE(s.keyExists(this->hkcu, "A\\B"));
    EXPECT_FALSE(s.keyExists(this->hkcu, "A\\B\\C"));
    EXPECT_FALSE(s.readValue(this->hkcu, "A\\B\\C\\D", "deep").has_value());
    EXPECT_EQ(this->get("A\\BC", "sibling"), "3");
    EXPECT_EQ(this->get("A\\BC\\E", "below sibling"), "4");
    EXPECT_EQ(this->get("A", "parent"), "5");
    EXPECT_EQ(s.subKeyNames(this->hkcu, "A"), QStringList({"BC"}));
    EXPECT_TRUE(s.readValue(RegRoot::LocalMachine, "A\\B", "other root").has_value());

    EXPECT_FALSE(s.deleteKey(this->hkcu, "A\\B"));
    // Re-creating the key does not bring back anything of the old one.
    s.createKey(this->hkcu, "A\\B");
    EXPECT_TRUE(s.valueNames(this->hkcu, "A\\B").isEmpty());
    EXPECT_TRUE(s.subKeyNames(this->hkcu, "A\\B").isEmpty());
}

TYPED_TEST(RegistryStoreContract, TransactionUndoesEverythingWhenWorkThrows) {
    RegistryStore& s = *this->store;
    this->put("Software\\Tx", "kept", "before");
    this->put("Software\\Tx\\Sub", "inner", "before");
    EXPECT_THROW(s.transaction([&] {
        this->put("Software\\Tx", "kept", "after");
        this->put("Software\\Tx", "new", "x");
        s.deleteKey(this->hkcu, "Software\\Tx\\Sub");
        s.createKey(this->hkcu, "Software\\Tx\\Fresh");
        throw Boom();
    }),
                 Boom);
    EXPECT_EQ(this->get("Software\\Tx", "kept"), "before");
    EXPECT_FALSE(s.readValue(this->hkcu, "Software\\Tx", "new").has_value());
    EXPECT_EQ(this->get("Software\\Tx\\Sub", "inner"), "before");
    EXPECT_FALSE(s.keyExists(this->hkcu, "Software\\Tx\\Fresh"));

    // The store stays usable and commits the next transaction.
    s.transaction([&] { this->put("Software\\Tx", "kept", "committed"); });
    EXPECT_EQ(this->get("Software\\Tx", "kept"), "committed");
}

TYPED_TEST(RegistryStoreContract, NestedTransactionsJoinTheOuterOne) {
    RegistryStore& s = *this->store;
    // An inner failure caught by the outer work undoes only the inner writes.
    s.transaction([&] {
        this->put("N", "outer", "1");
        EXPECT_THROW(s.transaction([&] {
            this->put("N", "inner", "2");
            throw Boom();
        }),
                     Boom);
        this->put("N", "after", "3");
    });
    EXPECT_EQ(s.valueNames(this->hkcu, "N"), QStringList({"outer", "after"}));

    // A successful inner transaction is still undone when the outer one fails.
    EXPECT_THROW(s.transaction([&] {
        s.transaction([&] { this->put("N", "inner ok", "4"); });
        s.transaction([&] { s.transaction([&] { this->put("N", "deeper", "5"); }); });
        throw Boom();
    }),
                 Boom);
    EXPECT_EQ(s.valueNames(this->hkcu, "N"), QStringList({"outer", "after"}));
}

} // namespace
