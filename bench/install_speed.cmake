# Where install time goes: staging and placing a shaped package with our routines against
# plain file-operation floors, and setup.exe's whole run, on the staging volume and another.
add_executable(install_speed_bench install_speed_bench.cpp)
target_link_libraries(install_speed_bench PRIVATE qcommon qtoolkit qe2edriver)
target_link_options(install_speed_bench PRIVATE -mconsole)
