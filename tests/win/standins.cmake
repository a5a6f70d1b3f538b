# The stand-ins for the bundled service tools, driven the way the install and uninstall runs
# drive them and checked through the service control manager and port 8080.
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/ServiceSupport.cpp)
quarn_win_test(standins_tests SOURCES StandinServicesTest.cpp SiteRoutesTest.cpp
  LIBS qsiteserver LOCKS services port8080)
add_dependencies(standins_tests mysqld-nt tomcat5-service)
