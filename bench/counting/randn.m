function varargout = randn(varargin)
  % Counts a call-back and the values it hands out, then hands it to the
  % built-in randn.
  global bayesmex_callbacks bayesmex_randn_values
  bayesmex_callbacks = bayesmex_callbacks + 1;
  [varargout{1:max(nargout, 1)}] = builtin('randn', varargin{:});
  bayesmex_randn_values(end + 1) = numel(varargout{1});
end
