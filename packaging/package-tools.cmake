# Making the Debian package needs dpkg-shlibdeps (from dpkg-dev), which
# lists the libraries the programs link as the package's dependencies, and
# file, with which CPack finds the programs. Read when the build tree is
# configured, and again by cpack before it makes the package.
if(CPACK_GENERATOR AND NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
set(package_hint "sudo apt-get install dpkg-dev file")
if(NOT CPACK_GENERATOR)
    string(APPEND package_hint ", or configure with -DNUMERELLA_PACKAGE=OFF")
endif()
cmake_policy(PUSH)
cmake_policy(SET CMP0109 NEW) # a file that cannot be run is no program
foreach(tool dpkg-shlibdeps file)
    find_program(tool_path ${tool} NO_CACHE)
    if(NOT tool_path)
        # The leading space keeps CMake from breaking the message over lines.
        message(FATAL_ERROR " Cannot make the Debian package: '${tool}' is missing (${package_hint}).")
    endif()
    unset(tool_path)
endforeach()
cmake_policy(POP)
