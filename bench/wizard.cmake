add_executable(memo_bench memo_bench.cpp)
target_link_libraries(memo_bench PRIVATE qtoolkit)
target_link_options(memo_bench PRIVATE -mconsole)
# An unattended install of the demo package against the same install driven through the wizard.
add_executable(install_bench install_bench.cpp)
target_link_libraries(install_bench PRIVATE qe2edriver)
target_link_options(install_bench PRIVATE -mconsole)
