# The grid control of the channel table and the FM presets.
target_sources(halvex_ui PRIVATE
    grid/grid_ctrl.cpp
    grid/grid_ctrl_geometry.cpp
    grid/grid_ctrl_input.cpp
    grid/grid_ctrl_paint.cpp
)
