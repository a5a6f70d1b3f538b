# Copy and delete of a 20,000-file tree with progress reporting, against a plain Win32 loop.
add_executable(filetree_bench filetree_bench.cpp)
target_link_libraries(filetree_bench PRIVATE qcommon)
target_link_options(filetree_bench PRIVATE -mconsole)
