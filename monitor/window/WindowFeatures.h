#pragma once
// The features of a run with the status window (the settings dialogs,
// Dialdart with its credentials form, the shell commands with the About box,
// the mail check with its log and countdown), made for one run and handed to
// the core as its modules.

#include "FeatureModule.h"

#include <memory>
#include <vector>

class RegistryStore;
class TfrmTAPIMon;

class WindowFeatures {
public:
    WindowFeatures(TfrmTAPIMon& window, RegistryStore& store);
    ~WindowFeatures();
    WindowFeatures(const WindowFeatures&) = delete;
    WindowFeatures& operator=(const WindowFeatures&) = delete;

    std::vector<FeatureModule*> modules() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
