# What a Linux desktop shows of the Standalone app and the commands: the app's menu entry, its
# icons at the sizes icon themes look up (drawn by the artwork generator at build time) and
# the manual pages, compressed the way man and Debian expect (gzip -9, no name or time stamp,
# so the same sources always give the same bytes).

set(TACETOR_ICON_THEME "${PROJECT_BINARY_DIR}/desktop/icons/hicolor")
set(TACETOR_DESKTOP_FILES "${PROJECT_BINARY_DIR}/desktop")

add_custom_command(
    OUTPUT "${TACETOR_DESKTOP_FILES}/icons.stamp"
    COMMAND TacetorArtwork --icons "${TACETOR_ICON_THEME}"
    COMMAND "${CMAKE_COMMAND}" -E touch "${TACETOR_DESKTOP_FILES}/icons.stamp"
    DEPENDS TacetorArtwork
    COMMENT "Drawing the app's icons"
    VERBATIM)

set(TACETOR_COMPRESSED_DOCS)
foreach(source IN ITEMS packaging/tacetor-render.1 packaging/PelmoraTacetor.1 packaging/changelog)
    get_filename_component(name "${source}" NAME)
    set(output "${TACETOR_DESKTOP_FILES}/${name}.gz")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND gzip -9 -n -c "${PROJECT_SOURCE_DIR}/${source}" > "${output}"
        DEPENDS "${PROJECT_SOURCE_DIR}/${source}"
        VERBATIM)
    list(APPEND TACETOR_COMPRESSED_DOCS "${output}")
endforeach()

add_custom_target(tacetor_desktop_files ALL
    DEPENDS "${TACETOR_DESKTOP_FILES}/icons.stamp" ${TACETOR_COMPRESSED_DOCS})
