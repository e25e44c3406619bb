function remove_folder(folder)
  % Takes FOLDER off the path if it is there, then deletes it and all it
  % holds, without asking: the tests' scratch folders.
  if any(strcmp(strsplit(path(), pathsep()), folder)), rmpath(folder); end
  confirm_recursive_rmdir(false, 'local');
  rmdir(folder, 's');
end
