# kyr_game: the game itself. Levels and frame loop, player and player bullets,
# enemies and their fire, hit tests, explosions and scoreboard.
add_library(kyr_game STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Spel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrameTempo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Aanvaller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vijand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Treffers.cpp)
target_link_libraries(kyr_game PUBLIC kyr_root kyr_state engine3d graph console standardlib shows)
