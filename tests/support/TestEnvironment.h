#pragma once
// Pins what a test must not inherit from the machine: a private home and
// config and data folders, a temporary settings store file, a runtime folder.

#include <QString>

namespace TestEnvironment {

// Called by the test mains before anything else.
void pin();
// The temporary folder of this test program.
QString folder();
// The settings store file that TOLLWATCH_REGISTRY names for this program.
QString registryFile();
// The project's source and binary folders (for fixtures and programs).
QString sourceDir();
QString binDir();

} // namespace TestEnvironment
