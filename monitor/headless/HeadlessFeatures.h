#pragma once
// The features of a headless run (the settings dialogs answered from the
// scenario, Dialdart, the shell commands, the mail check), made for one run
// and handed to the core as its modules. Shell requests become "shell" lines;
// only a run on the real clock carries them out.

#include "FeatureModule.h"

#include <memory>
#include <vector>

class HeadlessView;
class RegistryStore;

class HeadlessFeatures {
public:
    // virtualClock: the run replays a scenario on the virtual clock.
    HeadlessFeatures(HeadlessView& view, RegistryStore& store, bool virtualClock);
    ~HeadlessFeatures();
    HeadlessFeatures(const HeadlessFeatures&) = delete;
    HeadlessFeatures& operator=(const HeadlessFeatures&) = delete;

    std::vector<FeatureModule*> modules() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
