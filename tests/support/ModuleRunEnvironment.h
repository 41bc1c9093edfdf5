#pragma once
// The environment of a test's monitor run with feature modules: the view is
// the window frame as well, the command line is empty, and no seam is given
// directly unless features says so.

#include "MonitorCore.h"

#include <utility>
#include <vector>

template <class View>
MonitorEnvironment
moduleRunEnvironment(RegistryStore& store, const FormatSettings& formats, Clock& clock, View& view,
                     RasApi& ras, ChimeSwitch& chime, ApplicationControl& app,
                     std::vector<FeatureModule*> modules, EventObserver* observer = nullptr,
                     MonitorFeatures features = {}) {
    return MonitorEnvironment{store,
                              formats,
                              clock,
                              view,
                              view,
                              ras,
                              chime,
                              features,
                              app,
                              CommandLine(),
                              observer,
                              QString(),
                              std::move(modules)};
}
