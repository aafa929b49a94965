# Layers the build enforces. A target's include path is a folder of its own in
# the build tree holding links to the source folders of the project libraries
# it links, directly or through others, and to its own: an include of a
# higher or a sibling layer does not compile. What a library may use is thus
# said once, by target_link_libraries. The layers test reads the same lists
# (build/layers.txt) and checks every file, compiled or not.

# The project targets TARGET links, directly or through others.
function(qv_linked_targets target projectTargets out)
  set(found)
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    get_target_property(links ${current} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link IN_LIST projectTargets AND NOT link IN_LIST found)
        list(APPEND found ${link})
        list(APPEND pending ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(qv_source_folder target out)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

#   qv_enforce_layers(target...) - every project library and program.
function(qv_enforce_layers)
  set(layersFile ${CMAKE_BINARY_DIR}/layers.txt)
  file(WRITE ${layersFile} "")
  foreach(target IN LISTS ARGN)
    qv_linked_targets(${target} "${ARGN}" linked)
    set(folders)
    foreach(t IN ITEMS ${target} ${linked})
      qv_source_folder(${t} folder)
      list(APPEND folders ${folder})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    set(root ${CMAKE_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${root})
    foreach(folder IN LISTS folders)
      cmake_path(GET folder PARENT_PATH parent)
      file(MAKE_DIRECTORY ${root}/${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} RESULT failed SYMBOLIC)
      if(failed)
        # No symbolic links (Windows without developer mode): the whole tree
        # is visible and only the layers test keeps the rule.
        set(root ${PROJECT_SOURCE_DIR})
        break()
      endif()
    endforeach()
    target_include_directories(${target} PRIVATE ${root})
    list(JOIN folders " " allowed)
    list(GET folders 0 own)
    file(APPEND ${layersFile} "${own}: ${allowed}\n")
  endforeach()
endfunction()
