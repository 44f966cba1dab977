function varargout = KVIntAttenuator(varargin)
% KVIntAttenuator  Multiply the intensity of a field by a constant factor.
%
%   Fout = KVIntAttenuator(R, Fin)
%
%   R     intensity factor (transmission): 1 leaves the field as it is,
%         0.25 halves every amplitude, R > 1 amplifies
%   Fin   input field
%   Fout  every sample of Fin times sqrt(R), same header
%
%   The phase is kept. A negative R has no real square root and gives NaN
%   samples.
%
%   Example:
%     F = KVIntAttenuator(0.5, KVBegin(5e-3, 633e-9, 128));
%
%   See also KVGain, KVNormal.

error('Korvane:notCompiled', ['KVIntAttenuator is not compiled: run "make octave" (Octave) or ' ...
       'build_korvane (MATLAB), and add the build folder to the path.']);
end
