# The Debian package, built by CPack from the install rules: `cpack --config build/CPackConfig.cmake`
# (scripts/package.sh does it and runs lintian) gives pelmora-tacetor_1.0.0_amd64.deb.
#
# dpkg-shlibdeps computes the libraries the binaries link: libX11 among them, since the app links
# it to check for a display before JUCE starts. JUCE opens the rest of X11 and JACK itself at run
# time, which dpkg-shlibdeps cannot see: X11's extension library is needed for any window, the
# other X11 extensions improve it, and JACK is one of the app's two audio systems.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmora-tacetor)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_CONTACT "Orvane <support@orvane.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TACETOR_COMPANY_WEBSITE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxext6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxcursor1, libxinerama1, libxrandr2, libxrender1, libjack-jackd2-0 | libjack-0.125")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "jackd2 | pipewire-jack")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Maintainer scripts that do nothing, or CPack would write ones that run ldconfig for the VST 2.4
# plug-in in /usr/lib/vst; lintian is told why they are empty.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${PROJECT_SOURCE_DIR}/packaging/debian/postinst"
    "${PROJECT_SOURCE_DIR}/packaging/debian/postrm")
install(FILES packaging/debian/lintian-overrides DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
    RENAME pelmora-tacetor COMPONENT debian EXCLUDE_FROM_ALL)
# The package holds everything `cmake --install` installs, and the file above.
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

# The first line is the synopsis; CPack indents the rest as the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[noise gate pedal for guitar: VST3, LV2 and VST plug-ins, app
Pelmora Tacetor by Orvane is a noise gate presented as a guitar stomp-box
pedal. It silences hum and hiss between notes: while the level stays above
the threshold the gate opens with the attack time, below it the gate closes
with the decay time. A stereo pair is gated by one linked detector or, in
dual mono, by one detector per channel; a footswitch takes the gate in and
out of circuit with a short crossfade.

This package installs the plug-in for hosts that scan the system folders:
VST3 (/usr/lib/vst3), LV2 (/usr/lib/lv2, filed as a gate) and VST 2.4
(/usr/lib/vst); the PelmoraTacetor app, which gates a sound card's or a
JACK server's input with the pedal on screen; and tacetor-render, which
gates audio files from the command line.]=])

include(CPack)
