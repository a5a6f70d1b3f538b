# The drawn controls read back through oleacc, as a screen reader reads them; one test walks an
# install run, so it takes the locks of the run's machine-wide state. Tests may import oleacc.dll.
quarn_win_test(accessibility_tests SOURCES AccessibilityTest.cpp
  LIBS qui oleacc LOCKS registry services port8080 javahome default-install desktop)
add_dependencies(accessibility_tests mysqld-nt tomcat5-service)
