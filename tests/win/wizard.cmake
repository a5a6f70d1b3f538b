# A wizard window reads the installation record when it is created: the tests take the
# registry lock so that no other test's record is seen, and clean it first.
quarn_win_test(wizard_tests SOURCES WizardLayoutTest.cpp WizardPagesTest.cpp ControlsTest.cpp LIBS qui LOCKS registry)
# The handlers on a real wizard window; they read and write the installation record.
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/WizardFixture.cpp)
target_link_libraries(qwintestsupport PUBLIC qui)
quarn_win_test(navigation_tests SOURCES NavigationTest.cpp LIBS qui LOCKS registry)
# The folder picker on the shell's real folder tree.
quarn_win_test(selectpath_tests SOURCES SelectPathTest.cpp LIBS qui)
