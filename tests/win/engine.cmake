# The installation engine without a window: staging, install run, record, uninstall run.
# They share the machine-wide record, services, JAVA_HOME and c:\quarn, and port 8080, which
# an install run checks before it starts.
add_executable(record_command tools/record_command.cpp)
target_link_options(record_command PRIVATE -mconsole -municode)
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/EngineFixture.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/support/PackageBuilder.cpp)
target_link_libraries(qwintestsupport PUBLIC qpaktestsupport)
# wine-drives: an install into another volume links a drive letter of its own.
quarn_win_test(engine_tests SOURCES StagingTest.cpp InstallRunTest.cpp InstallRecordTest.cpp UninstallRunTest.cpp
  PackageRunTest.cpp
  LIBS qsetup LOCKS registry services port8080 javahome default-install wine-drives)
add_dependencies(engine_tests record_command mysqld-nt tomcat5-service)
# The wizard around the runs: the pages' end states, presses during a run, the record read.
quarn_win_test(wizard_run_tests SOURCES WizardRunTest.cpp
  LIBS qui LOCKS registry services port8080 javahome default-install desktop)
add_dependencies(wizard_run_tests mysqld-nt tomcat5-service)
target_compile_definitions(engine_tests PRIVATE QUARN_DIGEST_DATA="${CMAKE_SOURCE_DIR}/tests/native/data")
