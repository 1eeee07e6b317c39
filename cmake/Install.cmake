# Where everything goes on `cmake --install build [--prefix DIR]` (and so in the Debian package,
# cmake/Package.cmake), and the user-folder install that needs no root.
#
# The plug-in folders are lib/vst3, lib/lv2 and lib/vst under the prefix whatever the
# distribution's library folder is (Debian's is lib/x86_64-linux-gnu): hosts scan exactly
# /usr/lib/vst3, /usr/lib/lv2 and /usr/lib/vst, not the multiarch folders.

set(CMAKE_INSTALL_DOCDIR "share/doc/pelmora-tacetor" CACHE PATH "Documentation folder under the prefix")
include(GNUInstallDirs)

set(TACETOR_INSTALL_VST3_DIR "lib/vst3/PelmoraTacetor.vst3")
set(TACETOR_INSTALL_LV2_DIR "lib/lv2/PelmoraTacetor.lv2")

# Hosts look for PelmoraTacetor.so, as the other formats are named, not libPelmoraTacetor.so.
set_target_properties(PelmoraTacetor_VST PROPERTIES PREFIX "")

# What ships is linked as Debian links its own packages: relocations read-only, bound at load.
foreach(shipped IN ITEMS PelmoraTacetor_VST PelmoraTacetor_VST3 PelmoraTacetor_LV2 PelmoraTacetor_Standalone tacetor-render)
    target_link_options(${shipped} PRIVATE -Wl,-z,relro -Wl,-z,now)
endforeach()

# The libraries go through install(TARGETS), so that `--strip` and the package strip them.
install(TARGETS PelmoraTacetor_VST LIBRARY DESTINATION lib/vst)
install(TARGETS PelmoraTacetor_VST3 LIBRARY DESTINATION "${TACETOR_INSTALL_VST3_DIR}/Contents/${JUCE_TARGET_ARCHITECTURE}-linux")
install(TARGETS PelmoraTacetor_LV2 LIBRARY DESTINATION "${TACETOR_INSTALL_LV2_DIR}")
install(DIRECTORY "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>/" DESTINATION "${TACETOR_INSTALL_LV2_DIR}"
    FILES_MATCHING PATTERN "*.ttl")
install(TARGETS PelmoraTacetor_Standalone tacetor-render RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(FILES packaging/pelmora-tacetor.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(DIRECTORY "${TACETOR_ICON_THEME}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
install(FILES "${TACETOR_DESKTOP_FILES}/tacetor-render.1.gz" "${TACETOR_DESKTOP_FILES}/PelmoraTacetor.1.gz"
    DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES README.md "${TACETOR_DESKTOP_FILES}/changelog.gz" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
install(FILES LICENSE DESTINATION "${CMAKE_INSTALL_DOCDIR}" RENAME copyright)

# `cmake --build build --target install-plugins` installs the same files for this user alone:
# the plug-ins into ~/.vst, ~/.vst3 and ~/.lv2, the rest under ~/.local. It records what it
# wrote, so that scripts/uninstall-user.sh removes exactly that.
add_custom_target(install-plugins
    COMMAND "${PROJECT_SOURCE_DIR}/scripts/install-user.sh" "${PROJECT_BINARY_DIR}"
    DEPENDS PelmoraTacetor_VST PelmoraTacetor_VST3 PelmoraTacetor_LV2 PelmoraTacetor_Standalone tacetor-render
            tacetor_desktop_files
    COMMENT "Installing Pelmora Tacetor into ~/.vst, ~/.vst3, ~/.lv2 and ~/.local"
    USES_TERMINAL
    VERBATIM)
