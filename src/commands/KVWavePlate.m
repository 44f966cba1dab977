function varargout = KVWavePlate(varargin)
% KVWavePlate  Pass a beam held as x and y components through a wave plate.
%
%   [Fx, Fy] = KVWavePlate(retardance, angle, Fx, Fy)
%
%   retardance  phase delay of the slow axis behind the fast one, in
%               radians: pi/2 for a quarter-wave plate, pi for a half-wave
%   angle       direction of the fast axis, in radians from x towards y
%   Fx, Fy      fields of the x and y components (as for KVJones)
%
%   The component along the fast axis (cos(angle), sin(angle)) passes
%   unchanged; the one along the slow axis is multiplied by
%   exp(1i*retardance), a delay under the toolbox's time dependence
%   exp(-i*omega*t). The Jones matrix is R(-angle)*diag([1, exp(1i*retardance)])*R(angle).
%
%   A half-wave plate at theta turns light polarized along x to the angle
%   2*theta. A quarter-wave plate at +pi/4 turns it circular with
%   S3 = -S0 in KVStokes, one at -pi/4 with S3 = +S0. Two quarter-wave
%   plates at one angle make a half-wave plate.
%
%   Example:
%     F = KVBegin(5e-3, 633e-9, 64);
%     [Fx, Fy] = KVWavePlate(pi, pi/8, F, KVIntAttenuator(0, F));  % now at 45 degrees
%
%   See also KVJones, KVLinearPolarizer, KVRotator, KVStokes.

error('Korvane:notCompiled', ['KVWavePlate is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
