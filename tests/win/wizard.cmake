quarn_win_test(wizard_tests SOURCES WizardLayoutTest.cpp WizardPagesTest.cpp ControlsTest.cpp LIBS qui)
# The handlers on a real wizard window; they read and write the installation record.
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/WizardFixture.cpp)
target_link_libraries(qwintestsupport PUBLIC qui)
quarn_win_test(navigation_tests SOURCES NavigationTest.cpp LIBS qui LOCKS registry)
