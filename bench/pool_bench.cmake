# The service pool at 100,000 services: fill, sort by name, class toggle.
if(XANTU_BUILD_GUI)
    add_executable(pool_bench ${CMAKE_CURRENT_LIST_DIR}/pool_bench.cpp)
    target_link_libraries(pool_bench PRIVATE xantu_pool xantu_ui xantu_synth Qt6::Widgets)
endif()
