add_executable(memo_bench memo_bench.cpp)
target_link_libraries(memo_bench PRIVATE qtoolkit)
target_link_options(memo_bench PRIVATE -mconsole)
