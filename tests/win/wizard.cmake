# A wizard window reads the installation record when it is created: the tests take the
# registry lock so that no other test's record is seen, and clean it first. Every program that
# shows windows and looks at the focus takes the desktop lock: a window of another test, or the
# desktop of the DPI prefix appearing on the same display, takes the activation from it.
quarn_win_test(wizard_tests SOURCES WizardPagesTest.cpp ControlsTest.cpp LIBS qui LOCKS registry desktop)
# The wizard as a person sees it, at 100 %; under Wine also at 150 and 200 %, each run in a
# prefix whose display is at that DPI (scripts/with-dpi), one at a time.
quarn_win_test(wizard_view_tests SOURCES WizardLayoutTest.cpp LIBS qui LOCKS registry desktop)
if(CMAKE_CROSSCOMPILING)
  set_tests_properties(wizard_view_tests PROPERTIES DISABLED TRUE)
  foreach(dpi 96 144 192)
    add_test(NAME wizard_view_tests_${dpi}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-dpi ${dpi} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/scripts/wine-run
                     $<TARGET_FILE:wizard_view_tests> --gtest_color=no
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(wizard_view_tests_${dpi} PROPERTIES TIMEOUT 600 RESOURCE_LOCK "wine-dpi;desktop")
  endforeach()
endif()
# The handlers on a real wizard window; they read and write the installation record.
target_sources(qwintestsupport PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support/WizardFixture.cpp)
target_link_libraries(qwintestsupport PUBLIC qui)
quarn_win_test(navigation_tests SOURCES NavigationTest.cpp LIBS qui LOCKS registry desktop)
# The folder picker on the shell's real folder tree.
quarn_win_test(selectpath_tests SOURCES SelectPathTest.cpp LIBS qui LOCKS desktop)
