# The Qt dialogs that live beside their subsystems (connect, input, command editor, script
# running) and the desktop program's UiHost, built into one library for the shell.
add_library(brennix_dialogs STATIC
    ${PROJECT_SOURCE_DIR}/src/link/connect_dialog.cpp
    ${PROJECT_SOURCE_DIR}/src/link/connect_dialog.h
    ${PROJECT_SOURCE_DIR}/src/script/cmd_editor_dialog.cpp
    ${PROJECT_SOURCE_DIR}/src/script/cmd_editor_dialog.h
    ${PROJECT_SOURCE_DIR}/src/script/input_dialog.cpp
    ${PROJECT_SOURCE_DIR}/src/script/input_dialog.h
    ${PROJECT_SOURCE_DIR}/src/script/script_running_window.cpp
    ${PROJECT_SOURCE_DIR}/src/script/script_running_window.h
    ${CMAKE_CURRENT_LIST_DIR}/qt_ui_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_ui_host.h
)
target_link_libraries(brennix_dialogs PUBLIC Qt6::Widgets brennix_core brennix_connect)
