# Runs the gallery into OUT and checks that every page came out as a PNG file.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${EMULATOR} ${GALLERY} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gallery failed: ${result}")
endif()
foreach(page IN ITEMS window_panel window_setup window_logo window_locks window_about_save frame
        controls_buttons controls_inputs controls_lists pictures window_options panel_label
        window_review window_review_trimmed window_review_selection window_review_discard)
    set(path ${OUT}/${page}.png)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "missing page ${page}.png")
    endif()
    file(READ ${path} signature LIMIT 8 HEX)
    if(NOT signature STREQUAL "89504e470d0a1a0a")
        message(FATAL_ERROR "${page}.png is not a PNG file")
    endif()
endforeach()
