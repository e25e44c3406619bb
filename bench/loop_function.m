function f = loop_function(dir, name, setup, body)
  % Writes DIR/NAME.m, a function t = NAME(calls, n) that runs setup once,
  % then body calls times, and returns the process CPU time of the loop; and
  % returns a handle to it.  The loop is in a function file so that body
  % calls each function directly, as a user's own function does: an
  % anonymous handle per call would cost Octave about as much as a scalar
  % call's work.  setup and body may use n; body may use i.
  fid = fopen(fullfile(dir, [name '.m']), 'w');
  if fid < 0, error('loop_function: cannot write %s', fullfile(dir, [name '.m'])); end
  fprintf(fid, ['function t = %s(calls, n)\n  %s\n  t0 = cputime();\n  for i = 1:calls\n' ...
                '    %s\n  end\n  t = cputime() - t0;\nend\n'], name, setup, body);
  fclose(fid);
  rehash();
  f = str2func(name);
end
