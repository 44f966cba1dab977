function varargout = KVJones(varargin)
% KVJones  Apply a Jones matrix to a beam held as x and y components.
%
%   [Fx, Fy] = KVJones(J, Fx, Fy)
%
%   J       2 x 2 double matrix, real or complex, of finite elements
%   Fx, Fy  fields of the x and y components of one beam: equal N, equal
%           size, equal wavelength, both in normal coordinates (checked
%           as KVPolarizer checks them, with its messages)
%
%   Every sample becomes
%     Fx' = J(1,1)*Fx + J(1,2)*Fy,   Fy' = J(2,1)*Fx + J(2,2)*Fy.
%   The results keep the headers of Fx and Fy.
%
%   Phases follow the toolbox's time dependence exp(-i*omega*t): a delay
%   is a positive phase (see the conventions page). A quarter-wave plate
%   with its fast axis along x is diag([1, 1i]).
%
%   Example (x-polarized light made circular):
%     F = KVBegin(5e-3, 633e-9, 64);
%     [Fx, Fy] = KVJones([1 1; 1i -1i]/2, F, KVIntAttenuator(0, F));
%     [S0, ~, ~, S3] = KVStokes(Fx, Fy);   % S3 = S0 here
%
%   See also KVWavePlate, KVLinearPolarizer, KVRotator, KVStokes, KVPolarizer.

error('Korvane:notCompiled', ['KVJones is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
