# The box side at list sizes far beyond real ones: receiving a large file
# from a scripted box on loopback, and listing 80 backups of a big pair.
add_executable(net_bench ${CMAKE_CURRENT_LIST_DIR}/net_bench.cpp ${CMAKE_SOURCE_DIR}/tests/net/FakeBox.cpp)
target_include_directories(net_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/net)
target_link_libraries(net_bench PRIVATE xantu_net xantu_synth benchmark::benchmark)
