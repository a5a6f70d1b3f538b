# The removal's deleting crew: two trees deleted side by side against one after the other.
add_executable(delete_crew_bench delete_crew_bench.cpp)
target_link_libraries(delete_crew_bench PRIVATE qcommon)
target_link_options(delete_crew_bench PRIVATE -mconsole)
