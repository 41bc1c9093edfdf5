# The one place the version of the programs comes from: project(VERSION) in
# the top-level CMakeLists.txt. Code includes "TollwatchVersion.h" (through
# the target tollwatch_version); the manual pages and the AppStream metadata
# are configured with @PROJECT_VERSION@ and the date of that release.
set(TOLLWATCH_RELEASE_DATE "2024-06-01")
configure_file(${CMAKE_CURRENT_LIST_DIR}/TollwatchVersion.h.in
  ${CMAKE_BINARY_DIR}/generated/TollwatchVersion.h @ONLY)
add_library(tollwatch_version INTERFACE)
target_include_directories(tollwatch_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
