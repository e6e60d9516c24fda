# kyr_state: the shared game state and the star fields with screen clearing.
add_library(kyr_state STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GameState.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sterren.cpp)
target_link_libraries(kyr_state PUBLIC kyr_root engine3d graph console)
