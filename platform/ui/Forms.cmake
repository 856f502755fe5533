target_sources(rvx_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/NSIndexPath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UITableViewCell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UITableView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UITextField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UISlider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UISwitch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIBarButtonItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UINavigationItem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIViewController.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UINavigationController.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIActionSheet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIModalOverlay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UIDevice.cpp)
