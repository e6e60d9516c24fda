# graph_raster: the pure software rasteriser (lines, rectangles, ellipses,
# text in the embedded bitmap font) and the PNG writer. No threads, no SDL.
add_library(graph_raster STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterEllipse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PngWriter.cpp)
target_link_libraries(graph_raster PUBLIC kyr_root PRIVATE PNG::PNG)
