function varargout = randn(varargin)
  % Counts a call-back and the values it hands out (counted_generator), then
  % hands it to the built-in randn.
  [varargout{1:max(nargout, 1)}] = counted_generator('randn', max(nargout, 1), varargin);
end
