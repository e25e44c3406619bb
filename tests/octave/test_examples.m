function test_examples()
  % Every Example of every help text (the manifest's functions and the
  % bayesmex overview) and every Octave block of the README runs as written,
  % each in a workspace of its own from an empty folder, ends without an
  % error and prints at most a screenful.  (The README's pkg install block
  % runs in the package install test, which has the archive; a block that
  % loads a package that is not installed is reported and skipped.)
  m = bayesmex_manifest();
  names = [{'bayesmex'}, {m.modules.name}, {m.mfiles.name}];
  cases = {};
  for k = 1:numel(names)
    code = help_example(get_help_text(names{k}));
    assert(!isempty(code), 'the help of %s has no Example', names{k});
    cases(end+1, :) = {names{k}, code};
  end
  readme = fullfile(fileparts(fileparts(fileparts(mfilename('fullpath')))), 'README.md');
  blocks = readme_blocks(readme);
  for k = 1:numel(blocks)
    needs = regexp(blocks{k}, '^\s*pkg load (\w+)', 'tokens', 'lineanchors');
    needs = setdiff([needs{:}], {'bayesmex'});
    if !isempty(regexp(blocks{k}, '^\s*pkg install', 'lineanchors', 'once'))
      continue;
    elseif any(cellfun(@(p) isempty(pkg('list', p)), needs))
      printf('README block %d skipped: it needs package %s\n', k, strjoin(needs, ', '));
    else
      cases(end+1, :) = {sprintf('README block %d', k), blocks{k}};
    end
  end

  % Figures an example writes into tempdir, and whatever it leaves in the
  % current folder, go to a folder that is removed afterwards.
  scratch = tempname();
  mkdir(scratch);
  old = struct('dir', pwd(), 'tmp', getenv('TMPDIR'));
  setenv('TMPDIR', scratch);
  cleanup = onCleanup(@() restore(old, scratch));
  cd(scratch);
  failures = {};
  for k = 1:rows(cases)
    [text, message] = run_example(cases{k, 2});
    lines = numel(regexp(text, '\n', 'match')) + !isempty(regexp(text, '[^\n]$', 'once'));
    printf('%-28s %3d lines  %s\n', cases{k, 1}, lines, merge(isempty(message), 'ok', message));
    if !isempty(message)
      failures{end+1} = sprintf('%s: %s', cases{k, 1}, message);
    elseif lines > 40
      failures{end+1} = sprintf('%s prints %d lines', cases{k, 1}, lines);
    end
  end
  printf('%d examples run\n', rows(cases));
  assert(isempty(failures), '%d examples fail:\n  %s', numel(failures), strjoin(failures, "\n  "));
end

function code = help_example(text)
  % The lines under the heading "Example" (or "Examples") that are indented
  % deeper than it, up to the first line that is not, without the indent.
  lines = strsplit(text, "\n");
  start = find(!cellfun(@isempty, regexp(lines, '^\s*Examples?\s*$', 'once')), 1);
  code = '';
  if isempty(start), return; end
  indent = numel(regexp(lines{start}, '^\s*', 'match', 'once'));
  body = {};
  for k = start + 1:numel(lines)
    if isempty(strtrim(lines{k}))
      body{end+1} = '';
    elseif numel(regexp(lines{k}, '^\s*', 'match', 'once')) > indent
      body{end+1} = lines{k};
    else
      break;
    end
  end
  code = strjoin(body, "\n");
end

function [x__text, x__message] = run_example(x__code)
  % The example's own workspace: only these two outputs and its code exist
  % beside what it makes, under names no example uses.
  x__text = ''; x__message = '';
  try
    x__text = evalc(x__code);
  catch x__err
    x__message = x__err.message;
  end
end

function restore(old, scratch)
  cd(old.dir);
  setenv('TMPDIR', old.tmp);
  remove_folder(scratch);
end
