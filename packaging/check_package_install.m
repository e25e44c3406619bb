% CHECK_PACKAGE_INSTALL  Install the bayesmex archive TARBALL as the README's
% Octave block for the package says, in a session whose HOME is the
% throwaway folder TMP, and check it against the manifest: every module is
% the package's compiled file, loads and runs (a call without arguments
% raises its own bayesmex:NAME: error), with its help text beside it; every
% m-file function is there with its help; `pkg describe` lists each function
% under its group; the functions' own test blocks pass; the demo runs at its
% quick size and draws its figures.  Errors listing every problem.
function check_package_install(tarball, tmp, readme)
  % The global list is the throwaway's too, so root's is never read or
  % written; the local list and the prefix are pkg's defaults under HOME.
  pkg('global_list', fullfile(tmp, 'global_packages'));
  % The README's block, run as written from the archive's folder, except
  % that as root pkg would install for everyone: there it installs for
  % this user (-local), as an ordinary user's pkg install does.
  block = readme_blocks(readme);
  block = block{find(!cellfun(@isempty, regexp(block, '^pkg install', 'lineanchors', 'once')), 1)};
  [folder, file, ext] = fileparts(tarball);
  assert(!isempty(strfind(block, [file ext])), 'the README installs no %s', [file ext]);
  if geteuid() == 0
    block = strrep(block, 'pkg install ', 'pkg install -local ');
  end
  here = pwd();
  cd(folder);
  text = evalc(block);
  cd(here);
  printf('%s', text);
  lines = numel(regexp(text, '\n', 'match'));
  assert(lines <= 40, 'the README''s package block prints %d lines', lines);

  m = bayesmex_manifest();
  names = [{m.modules.name}, {m.mfiles.name}];
  groups = [{m.modules.group}, {m.mfiles.group}];
  is_module = [true(1, numel(m.modules)), false(1, numel(m.mfiles))];
  failures = {};
  for i = 1:numel(names)
    name = names{i};
    where = which(name);
    [folder, ~, ext] = fileparts(where);
    if (isempty(where) || ! strncmp(where, tmp, numel(tmp)))
      failures{end+1} = sprintf('%s: a call finds "%s", not the installed function', name, where);
      continue;
    end
    if (isempty(strfind(get_help_text(name), [name '('])))
      failures{end+1} = sprintf('%s: help shows no help text', name);
    end
    if (is_module(i))
      % The compiled module must be what a call finds; the help file beside
      % it must not shadow it.
      if (! strcmp(ext, '.oct') || ! exist(fullfile(folder, [name '.m']), 'file'))
        failures{end+1} = sprintf('%s: %s is no module with its help file beside it', name, where);
        continue;
      end
      try
        feval(name);
        failures{end+1} = sprintf('%s: a call without arguments succeeded', name);
      catch err
        if (! strncmp(err.identifier, ['bayesmex:' name ':'], numel(name) + 10))
          failures{end+1} = sprintf('%s: %s (%s)', name, err.message, err.identifier);
        end
      end
    end
    % Test blocks, where the function's file has any (every module's has),
    % and the module's demo blocks, as a user runs them after pkg load.
    if (is_module(i) || ! isempty(regexp(fileread(fullfile(folder, [name '.m'])), '^%!', 'lineanchors', 'once')))
      [passed, total] = test(name, 'quiet', stdout);
      if (total == 0 || passed != total)
        failures{end+1} = sprintf('%s: %d of %d test blocks pass', name, passed, total);
      end
    end
    if (is_module(i))
      out = evalc(sprintf('demo %s', name));
      if (isempty(strfind(out, [name ' example 1:'])) || ! isempty(strfind(out, ': failed')))
        failures{end+1} = sprintf('%s: the demo does not run:\n%s', name, out);
      end
    end
  end

  % INDEX: each function once, under its group's title.
  desc = pkg('describe', 'bayesmex');
  listed = {};
  for c = desc{1}.provides
    for f = c{1}.functions
      listed(end+1, :) = {f{1}, c{1}.category};
    end
  end
  titles = containers.Map({m.groups.key}, {m.groups.title});
  want = [names', cellfun(@(g) titles(g), groups, 'UniformOutput', false)'];
  if (! isequal(sortrows(listed), sortrows(want)))
    failures{end+1} = sprintf('INDEX lists %s', strjoin(strcat(listed(:, 1), ' (', listed(:, 2), ')')', ', '));
  end

  % help bayesmex: the overview of the functions by group, from the package.
  if (! strncmp(which('bayesmex'), tmp, numel(tmp)) ...
      || isempty(strfind(get_help_text('bayesmex'), m.groups(end).title)))
    failures{end+1} = sprintf('help bayesmex shows no overview from the package (%s)', which('bayesmex'));
  end

  % The demo, from the package, with its figures.
  figdir = fullfile(tmp, 'figures');
  try
    bayesmex_demo(1, 'quick', figdir);
    for f = {'samplers', 'particle_filter', 'gibbs', 'bootstrap', 'gp_regression'}
      info = dir(fullfile(figdir, [f{1} '.png']));
      if (isempty(info) || info.bytes == 0)
        failures{end+1} = sprintf('bayesmex_demo drew no %s.png', f{1});
      end
    end
  catch err
    failures{end+1} = sprintf('bayesmex_demo: %s', err.message);
  end

  % Only the throwaway list holds the package.
  installed = pkg('list');
  if (numel(installed) != 1 || ! strcmp(installed{1}.name, 'bayesmex') ...
      || ! strncmp(installed{1}.dir, tmp, numel(tmp)))
    failures{end+1} = 'the package is not the one installed in the throwaway prefix';
  end

  if (! isempty(failures))
    error('package check failed (%d problems):\n  %s', numel(failures), ...
          strjoin(failures, "\n  "));
  end
  printf('%d functions installed, each with its help text, listed in INDEX; the demo runs\n', ...
         numel(names));
end
