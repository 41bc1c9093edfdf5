#pragma once
// What the settings tests share: a store that notes the order of its writes,
// and the per-user values read back as stored.

#include "Clock.h"
#include "IntlStrings.h"
#include "MemoryRegistryStore.h"
#include "Settings.h"
#include "TestFormats.h"

#include <gtest/gtest.h>

// Notes the name of every value written, in order.
class WriteOrderStore : public MemoryRegistryStore {
public:
    void writeValue(RegRoot root, const QString& path, const QString& name,
                    const RegValue& value) override {
        MemoryRegistryStore::writeValue(root, path, name, value);
        writes << name;
    }
    QStringList writes;
};

class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture() : settings(store), intl(settings), formats(TestFormats::enUS()) {}

    QString user(const QString& name) const {
        const auto v = store.readValue(RegRoot::CurrentUser, kSettingsKey, name);
        return v ? v->text : QStringLiteral("<missing>");
    }
    void setUser(const QString& name, const QString& text) {
        settings.WriteText(kSettingsKey, name, text);
    }

    WriteOrderStore store;
    Settings settings;
    IntlStrings intl;
    FormatSettings formats;
};
