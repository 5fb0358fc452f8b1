# qb_embed_version(TARGET): gives the executable TARGET its version block, in an ELF section of
# its own, made at build time by qb_versionblock from the project version and the entries below.
# The block is written again whenever the version or an entry changes.

set(QB_VERSION_TRANSLATION "041904E3")  # Russian, code page 1251
set(QB_VERSION_COMPANY_NAME "Carvelle")
set(QB_VERSION_FILE_DESCRIPTION "Formwright")
set(QB_VERSION_INTERNAL_NAME "quillbox")
set(QB_VERSION_LEGAL_COPYRIGHT "© Carvelle")
set(QB_VERSION_ORIGINAL_FILENAME "quillbox")
set(QB_VERSION_PRODUCT_NAME "Formwright")

function(qb_embed_version target)
    if(DEFINED QB_FILE_VERSION)
        set(version "${QB_FILE_VERSION}")
    else()
        set(version "${PROJECT_VERSION}")
    endif()
    if(NOT version MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
        message(FATAL_ERROR "qb_embed_version(${target}): the version must be four numbers, "
                            "not \"${version}\"")
    endif()

    set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_version")
    set(description "${dir}/versionblock.txt")
    set(source "${dir}/VersionBlock.cpp")
    # Rewritten only when its text changes, so the block follows the version and nothing else.
    file(CONFIGURE OUTPUT "${description}" @ONLY CONTENT [[
# The version block of @target@, written by qb_embed_version.
translation @QB_VERSION_TRANSLATION@
file-version @version@
product-version @version@
string CompanyName @QB_VERSION_COMPANY_NAME@
string FileDescription @QB_VERSION_FILE_DESCRIPTION@
string FileVersion @version@
string InternalName @QB_VERSION_INTERNAL_NAME@
string LegalCopyright @QB_VERSION_LEGAL_COPYRIGHT@
string OriginalFilename @QB_VERSION_ORIGINAL_FILENAME@
string ProductName @QB_VERSION_PRODUCT_NAME@
string ProductVersion @version@
]])
    add_custom_command(
        OUTPUT "${source}"
        COMMAND qb_versionblock "${description}" "${source}"
        DEPENDS qb_versionblock "${description}"
        COMMENT "Writing the version block of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE "${source}")
endfunction()
