# Bouquet editing: drop, deletion with refill, undo, search on large lists.
add_executable(edit_bench ${CMAKE_CURRENT_LIST_DIR}/edit_bench.cpp)
target_link_libraries(edit_bench PRIVATE xantu_edit xantu_synth)
