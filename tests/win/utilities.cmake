# File-tree operations, text-file rewrite, external commands and service queries. LOCKS
# wine-drives: some tests link a drive letter of their own in the prefix.
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/FileTreeSupport.cpp)
quarn_win_test(utilities_tests
  SOURCES FileCopyTest.cpp FilePlacementTest.cpp FileDeleteTest.cpp TextFileTest.cpp ExternalCommandsTest.cpp DiskSpaceTest.cpp
          ServicesTest.cpp
  LIBS qcommon LOCKS wine-drives)
# A command past its bound is shown ended with the stand-in it started; console_window tells
# a command's console apart.
add_executable(console_window tools/console_window.cpp)
target_link_options(console_window PRIVATE -mconsole -municode)
add_dependencies(utilities_tests mysqld-nt console_window)
# A run's work on a worker thread beside a window's message loop.
quarn_win_test(worker_run_tests SOURCES WorkerRunTest.cpp LIBS qcommon)
# Environment variables and the registry accessor: machine-wide state.
quarn_win_test(environment_tests SOURCES EnvironmentTest.cpp RegistryTest.cpp LIBS qcommon LOCKS registry)
