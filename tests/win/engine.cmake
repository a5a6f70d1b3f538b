# The installation engine on a real wizard window: staging, install run, record, uninstall run.
# They share the machine-wide record, services, JAVA_HOME and c:\quarn, and port 8080, which
# an install run checks before it starts.
add_executable(record_command tools/record_command.cpp)
target_link_options(record_command PRIVATE -mconsole -municode)
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/EngineFixture.cpp
               ${CMAKE_CURRENT_SOURCE_DIR}/support/PackageBuilder.cpp)
target_link_libraries(qwintestsupport PUBLIC qpaktestsupport)
quarn_win_test(engine_tests SOURCES StagingTest.cpp InstallRunTest.cpp InstallRecordTest.cpp UninstallRunTest.cpp
  LIBS qui LOCKS registry services port8080 javahome default-install)
add_dependencies(engine_tests record_command mysqld-nt tomcat5-service)
