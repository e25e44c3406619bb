% CHECK_PACKAGE_INSTALL  Install the bayesmex archive TARBALL into folder TMP,
% load it, and check that every function runs its compiled module and has
% its help text.  Errors listing every function that fails.
function check_package_install(tarball, tmp)
  % A throwaway prefix and package lists, local and global: pkg installs
  % globally when run as root, and neither user's list may change.
  pkg('local_list', fullfile(tmp, 'local_packages'));
  pkg('global_list', fullfile(tmp, 'global_packages'));
  pkg('prefix', fullfile(tmp, 'share'), fullfile(tmp, 'lib'));
  pkg('install', '-local', tarball);
  pkg('load', 'bayesmex');

  metric = struct('type', 'metric_euclidean', 'lengthScale', 1, ...
                  'components', {{[1 2]}}, 'deltadist', false);
  calls = {
    'meanshape_draw',          {2, 5}
    'invchisq_draw',           {1, 4}
    'studentt_draw',           {5}
    'exponential_draw',        {2}
    'simplex_draw',            {3}
    'meanshape_draw1',         {2, 5}
    'invchisq_draw1',          {1, 4}
    'hyperscale_draw1',        {1, 2, 1, 2, 3}
    'particles_multinomial',   {[1 2 3]}
    'particles_residual',      {[1 2 3]}
    'particles_stratified',    {[1 2 3]}
    'particles_deterministic', {[1 2 3]}
    'weightboot_average',      {rand(5, 2)}
    'weightboot_quantile',     {(1:5)', 50}
    'metric_pairwise',         {metric, rand(3, 2)}
    'psi_eval',                {1}
    'hyptan_fast',             {0.5}
  };

  failures = {};
  for i = 1:rows(calls)
    name = calls{i, 1};
    % The compiled module, from the package's own folders, must be what a
    % call finds; the help file beside it must not shadow it.
    where = which(name);
    if (isempty(where))
      failures{end+1} = sprintf('%s: not installed', name);
      continue;
    end
    [folder, ~, ext] = fileparts(where);
    if (! strcmp(ext, '.mex') || ! strncmp(where, tmp, numel(tmp)))
      failures{end+1} = sprintf('%s: a call finds %s, not the installed module', name, where);
      continue;
    end
    if (! exist(fullfile(folder, [name '.m']), 'file'))
      failures{end+1} = sprintf('%s: no help file beside %s', name, where);
    end
    text = get_help_text(name);
    if (isempty(strfind(text, [name '('])))
      failures{end+1} = sprintf('%s: help shows no help text', name);
    end
    try
      r = feval(name, calls{i, 2}{:});
      if (! isa(r, 'double') || isempty(r))
        failures{end+1} = sprintf('%s: returned no double values', name);
      end
    catch err
      failures{end+1} = sprintf('%s: %s', name, err.message);
    end
  end

  % Each function's own test blocks pass and its demo runs, as a user runs
  % them after pkg load, and lookfor finds the functions by their words.
  for i = 1:rows(calls)
    name = calls{i, 1};
    [n, nmax] = test(name, 'quiet', stdout);
    if (nmax == 0 || n < nmax)
      failures{end+1} = sprintf('%s: %d of %d test blocks pass', name, n, nmax);
    end
    out = evalc(sprintf('demo %s', name));
    if (isempty(strfind(out, [name ' example 1:'])) || ! isempty(strfind(out, ': failed')))
      failures{end+1} = sprintf('%s: the demo does not run:\n%s', name, out);
    end
  end
  words = {'gamma', 'meanshape_draw'; 'tanh', 'hyptan_fast'; 'digamma', 'psi_eval'; ...
           'Dirichlet', 'simplex_draw'; 'resampling', 'particles_stratified'; ...
           'bootstrap', 'weightboot_quantile'; 'distance', 'metric_pairwise'};
  for i = 1:rows(words)
    if (! any(strcmp(lookfor(words{i, 1}), words{i, 2})))
      failures{end+1} = sprintf('lookfor %s does not find %s', words{i, :});
    end
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
  printf('%d functions installed, each runs its module, has help text, passes its test blocks and runs its demo\n', rows(calls));
end
