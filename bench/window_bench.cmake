# The main window at 100,000 services and 30,000 bouquet entries.
if(XANTU_BUILD_GUI AND TARGET xantu_mainwindow)
    add_executable(window_bench ${CMAKE_CURRENT_LIST_DIR}/window_bench.cpp)
    target_link_libraries(window_bench PRIVATE xantu_mainwindow xantu_synth)
endif()
