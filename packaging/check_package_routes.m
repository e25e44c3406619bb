% CHECK_PACKAGE_ROUTES  In a fresh session after check_package_install (HOME
% the throwaway folder TMP): lookfor finds every function by each of its
% manifest words on the installed package, whose doc cache pkg install
% wrote, and on the build tree BUILDDIR, which has none, and the table is
% printed; then TARBALL is installed again over the loaded package with every
% module called, as a user reinstalls, and no oct-file may be kept ("library
% ... not reloaded due to existing references").  Errors listing every
% problem.
function check_package_routes(tarball, tmp, builddir)
  pkg('global_list', fullfile(tmp, 'global_packages'));
  m = bayesmex_manifest();
  table = {};
  for row = [num2cell(m.modules), num2cell(m.mfiles)]
    for w = row{1}.lookfor
      table(end+1, :) = {w{1}, row{1}.name};
    end
  end
  pkg('load', 'bayesmex');
  found = finds(table);
  pkg('unload', 'bayesmex');
  addpath(builddir);
  found(:, 2) = finds(table);
  rmpath(builddir);
  printf('Octave %s\n%-30s %-24s %-8s %s\n', OCTAVE_VERSION, 'lookfor', 'function', 'package', 'build tree');
  yes_no = {'no', 'yes'};
  for k = 1:rows(table)
    printf('%-30s %-24s %-8s %s\n', table{k, :}, yes_no{found(k, :) + 1});
  end
  failures = {};
  for k = find(!all(found, 2))'
    failures{end+1} = sprintf('lookfor "%s" misses %s on the %s', table{k, :}, ...
                              strjoin({'package', 'build tree'}(!found(k, :)), ' and the '));
  end

  % Reinstalling while the package is loaded and its functions are in use:
  % its PKG_DEL clears them as the old version leaves the path.
  pkg('load', 'bayesmex');
  for row = m.modules
    call = bayesmex_manifest('call', row.call);
    result = feval(call{1}, call{3}{:});
  end
  lastwarn('');
  text = evalc(sprintf('pkg(''install'', ''-local'', ''%s'');', tarball));
  kept = regexp(text, '[^\n]*not reloaded[^\n]*', 'match');
  [~, id] = lastwarn();
  if strcmp(id, 'Octave:library-reload') && isempty(kept)
    kept = {'(the last warning of pkg install)'};
  end
  if !isempty(kept)
    failures{end+1} = sprintf('reinstalling kept %d old oct-files: %s', numel(kept), kept{1});
  end
  pkg('load', 'bayesmex');
  if !strncmp(which('meanshape_draw'), tmp, numel(tmp)) || !isscalar(meanshape_draw(2, 5))
    failures{end+1} = 'the package reinstalled does not run';
  end

  if !isempty(failures)
    error('package routes failed (%d problems):\n  %s', numel(failures), strjoin(failures, "\n  "));
  end
  printf('lookfor finds every function by each of its %d words on both routes; reinstalled cleanly\n', ...
         rows(table));
end

function found = finds(table)
  % found(k): lookfor table{k, 1} lists table{k, 2}; each word asked once.
  found = false(rows(table), 1);
  [words, ~, idx] = unique(table(:, 1));
  for j = 1:numel(words)
    listed = lookfor(words{j});
    found(idx == j) = ismember(table(idx == j, 2), listed);
  end
end
