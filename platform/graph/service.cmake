# graph: the window service (request protocol, drawing thread, surfaces,
# trace) with the offscreen window, the default.
add_library(graph STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Graph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphEvent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphExecute.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphProbe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphPrimitives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphServer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GraphTrace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OffscreenWindow.cpp
)
target_link_libraries(graph PUBLIC kyr_root graph_raster Threads::Threads)

# graph_sdl: the SDL window (UseSdlWindow), which also feeds the console's
# input queue with the keys typed into it.
add_library(graph_sdl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SdlKeyTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlPresent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlRenderer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SdlX11.cpp
)
target_link_libraries(graph_sdl PUBLIC kyr_root graph console SDL2::SDL2 X11::X11)
