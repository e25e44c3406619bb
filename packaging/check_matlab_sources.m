% CHECK_MATLAB_SOURCES  The MATLAB build script (matlab/build_bayesmex.m)
% reads the manifest with its own m-code; check that it compiles the same
% modules, each from the same sources, as CMake's reading of the manifest,
% MODULES (lines "NAME source source ...").
function check_matlab_sources(modules)
  want = containers.Map();
  for line = strsplit(strtrim(fileread(modules)), "\n")
    words = regexp(strtrim(line{1}), '\s+', 'split');
    want(words{1}) = sort(words(2:end));
  end
  root = fileparts(fileparts(mfilename('fullpath')));
  printed = evalc("build_bayesmex('/nonexistent', 'dryrun')");
  got = containers.Map();
  for line = strsplit(strtrim(printed), "\n")
    name = regexp(line{1}, '-output (\S+)', 'tokens', 'once'){1};
    files = regexp(line{1}, [regexptranslate('escape', [root '/']) '(\S+)'], 'tokens');
    got(name) = sort(cellfun(@(t) t{1}, files, 'UniformOutput', false));
  end
  if (! isequal(sort(keys(got)), sort(keys(want))))
    error('modules differ: script %s, CMake %s', strjoin(keys(got), ' '), strjoin(keys(want), ' '));
  end
  for k = keys(want)
    if (! isequal(got(k{1}), want(k{1})))
      error('%s: script compiles %s, CMake %s', k{1}, strjoin(got(k{1}), ' '), ...
            strjoin(want(k{1}), ' '));
    end
  end
  printf('%d modules, same sources\n', want.Count);
end
