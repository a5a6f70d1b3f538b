quarn_win_test(wizard_tests SOURCES WizardLayoutTest.cpp WizardPagesTest.cpp ControlsTest.cpp LIBS qui)
