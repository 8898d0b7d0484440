# qv_embed_resources(TARGET RC_FILE [FILES file...])
# Embeds a module's resource script and the files it names into the target as the data
# symbols qv_resource_blob / qv_resource_blob_size, the way a resource compiler links
# resources into a Windows module. (Stub: replaced by the platform layer's real embedder.)
function(qv_embed_resources target rc_file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  file(WRITE ${out} "#include <cstddef>\nextern \"C\" __attribute__((visibility(\"default\"))) const unsigned char qv_resource_blob[1] = {0};\nextern \"C\" __attribute__((visibility(\"default\"))) const size_t qv_resource_blob_size = 0;\n")
  target_sources(${target} PRIVATE ${out})
endfunction()
