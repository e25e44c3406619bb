function shadow(folder, name, prefix)
  % Writes FOLDER/NAME.m, a function that passes everything to the built-in
  % NAME but returns its values as PREFIX values (a text first argument,
  % as in rand('state', s), goes to the built-in untouched).  In a folder
  % @double it is a class method of double.
  f = fopen(fullfile(folder, [name '.m']), 'w');
  fprintf(f, 'function varargout = %s(varargin)\n', name);
  fprintf(f, '  if nargin > 0 && ischar(varargin{1})\n');
  fprintf(f, '    [varargout{1:nargout}] = builtin(''%s'', varargin{:});\n', name);
  fprintf(f, '  else\n');
  fprintf(f, '    varargout{1} = %sbuiltin(''%s'', varargin{:});\n', prefix, name);
  fprintf(f, '  end\nend\n');
  fclose(f);
end
