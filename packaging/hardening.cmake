# The usual Debian hardening of the programs the package ships: fortified
# libc calls, stack protector, read-only relocations bound at start-up, and
# position-independent executables. Left out of the sanitizer and fuzz
# builds, whose instrumentation does the checking there.
option(NUMERELLA_HARDENING "Build the installed programs with the Debian hardening flags" ON)

if(NUMERELLA_HARDENING AND NOT NUMERELLA_SANITIZE AND NOT NUMERELLA_FUZZ)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    foreach(target numerella_store numerella_records numerella_rules numerella_desktop numerella_window numerella-del-dieci numerella-record)
        if(TARGET ${target})
            set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
            target_compile_options(${target} PRIVATE -fstack-protector-strong)
            # Fortification needs the optimiser, so not in Debug builds.
            target_compile_definitions(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
            target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
        endif()
    endforeach()
endif()
