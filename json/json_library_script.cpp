#include "json/json_library_script.h"

namespace zendra {
namespace {

// Counts what for-in visits, less the two enumerable additions below. `v` is global on
// purpose: callers expect it to stay behind as a scratch variable.
constexpr char kCount[] = "function get__count(c){var i=-2;for(v in c)i++;return i}\n";

// The engine's native JSON is kept; the fallback only fills gaps, and its parser reads
// JSON text alone, never running it.
constexpr char kJson[] = R"js(if(typeof JSON!=="object"||JSON===null){JSON={}}
(function(){"use strict";
var toStr=Object.prototype.toString,own=Object.prototype.hasOwnProperty;
var meta={"\b":"\\b","\t":"\\t","\n":"\\n","\f":"\\f","\r":"\\r","\"":"\\\"","\\":"\\\\"};
var unescape={"\"":"\"","\\":"\\","/":"/",b:"\b",f:"\f",n:"\n",r:"\r",t:"\t"};
var special=/[\\"\u0000-\u001f]/g;
function two(n){return n<10?"0"+n:String(n)}
function quote(s){special.lastIndex=0;return "\""+s.replace(special,function(c){return meta[c]||"\\u"+("000"+c.charCodeAt(0).toString(16)).slice(-4)})+"\""}
function isArray(v){return toStr.call(v)==="[object Array]"}
function write(key,holder,filter,gap,indent,stack){
var value=holder[key],inner,parts,i,k,text,kind;
if(value!==null&&typeof value==="object"&&typeof value.toJSON==="function"){value=value.toJSON(key)}
if(typeof filter==="function"){value=filter.call(holder,key,value)}
if(value!==null&&typeof value==="object"){kind=toStr.call(value);
if(kind==="[object Number]"){value=Number(value)}else if(kind==="[object String]"){value=String(value)}else if(kind==="[object Boolean]"){value=value.valueOf()}}
switch(typeof value){
case "string":return quote(value);
case "number":return isFinite(value)?String(value):"null";
case "boolean":return String(value);
case "object":
if(value===null){return "null"}
for(i=0;i<stack.length;i++){if(stack[i]===value){throw new TypeError("cyclic structure")}}
stack[stack.length]=value;inner=indent+gap;parts=[];
if(isArray(value)){
for(i=0;i<value.length;i++){text=write(i,value,filter,gap,inner,stack);parts[parts.length]=text===undefined?"null":text}
stack.length--;
return parts.length===0?"[]":gap?"[\n"+inner+parts.join(",\n"+inner)+"\n"+indent+"]":"["+parts.join(",")+"]"}
if(filter&&typeof filter==="object"){
for(i=0;i<filter.length;i++){k=filter[i];if(typeof k==="number"){k=String(k)}
if(typeof k==="string"){text=write(k,value,filter,gap,inner,stack);if(text!==undefined){parts[parts.length]=quote(k)+(gap?": ":":")+text}}}
}else{
for(k in value){if(own.call(value,k)){text=write(k,value,filter,gap,inner,stack);if(text!==undefined){parts[parts.length]=quote(k)+(gap?": ":":")+text}}}}
stack.length--;
return parts.length===0?"{}":gap?"{\n"+inner+parts.join(",\n"+inner)+"\n"+indent+"}":"{"+parts.join(",")+"}"}
return undefined}
function read(source){
var s=String(source),p=0;
function fail(){throw new SyntaxError("JSON.parse: unexpected text at "+p)}
function blanks(){var c;while(p<s.length){c=s.charAt(p);if(c!==" "&&c!=="\t"&&c!=="\n"&&c!=="\r"){return}p++}}
function string(){var out="",c,h;p++;
for(;;){if(p>=s.length){fail()}c=s.charAt(p++);
if(c==="\""){return out}
if(c==="\\"){c=s.charAt(p++);
if(c==="u"){h=s.substr(p,4);if(!/^[0-9a-fA-F]{4}$/.test(h)){fail()}out+=String.fromCharCode(parseInt(h,16));p+=4}
else if(own.call(unescape,c)){out+=unescape[c]}else{fail()}}
else if(c<" "){fail()}else{out+=c}}}
function number(){var b=p;while(p<s.length&&"+-0123456789.eE".indexOf(s.charAt(p))>=0){p++}
var t=s.slice(b,p);if(!/^-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?$/.test(t)){fail()}return +t}
function word(w,v){if(s.substr(p,w.length)!==w){fail()}p+=w.length;return v}
function put(o,k,v){if(k==="__proto__"&&Object.defineProperty){Object.defineProperty(o,k,{value:v,writable:true,enumerable:true,configurable:true})}else{o[k]=v}}
function value(){var c,o,a,k;blanks();c=s.charAt(p);
if(c==="{"){o={};p++;blanks();if(s.charAt(p)==="}"){p++;return o}
for(;;){blanks();if(s.charAt(p)!=="\""){fail()}k=string();blanks();if(s.charAt(p++)!==":"){fail()}
put(o,k,value());blanks();c=s.charAt(p++);if(c==="}"){return o}if(c!==","){fail()}}}
if(c==="["){a=[];p++;blanks();if(s.charAt(p)==="]"){p++;return a}
for(;;){a[a.length]=value();blanks();c=s.charAt(p++);if(c==="]"){return a}if(c!==","){fail()}}}
if(c==="\""){return string()}
if(c==="t"){return word("true",true)}
if(c==="f"){return word("false",false)}
if(c==="n"){return word("null",null)}
return number()}
var result=value();blanks();if(p<s.length){fail()}return result}
function revive(holder,key,reviver){var k,v,item=holder[key];
if(item!==null&&typeof item==="object"){for(k in item){if(own.call(item,k)){v=revive(item,k,reviver);if(v!==undefined){item[k]=v}else{delete item[k]}}}}
return reviver.call(holder,key,item)}
if(typeof Date.prototype.toJSON!=="function"){
Date.prototype.toJSON=function(){return isFinite(this.valueOf())?this.getUTCFullYear()+"-"+two(this.getUTCMonth()+1)+"-"+two(this.getUTCDate())+"T"+two(this.getUTCHours())+":"+two(this.getUTCMinutes())+":"+two(this.getUTCSeconds())+"Z":null};
Boolean.prototype.toJSON=function(){return this.valueOf()};
Number.prototype.toJSON=function(){return this.valueOf()};
String.prototype.toJSON=function(){return this.valueOf()}}
if(typeof JSON.stringify!=="function"){
JSON.stringify=function(value,filter,space){var gap="",i;
if(typeof space==="number"){for(i=0;i<space&&i<10;i++){gap+=" "}}else if(typeof space==="string"){gap=space.slice(0,10)}
if(filter&&typeof filter!=="function"&&!isArray(filter)){throw new TypeError("JSON.stringify: bad filter")}
return write("",{"":value},filter,gap,"",[])}}
if(typeof JSON.parse!=="function"){
JSON.parse=function(text,reviver){var result=read(text);return typeof reviver==="function"?revive({"":result},"",reviver):result}}
)js";

// Exactly these two names: the member listing strips them and get__count subtracts them.
constexpr char kAdditions[] =
    "if(!Object.prototype.toJSONString){Object.prototype.toJSONString=function(filter){return "
    "JSON.stringify(this,filter)};Object.prototype.parseJSON=function(filter){return "
    "JSON.parse(this,filter)}}\n}());\n";

}  // namespace

const Text& JsonLibraryScript() {
  static const Text script = Text(kCount) + kJson + kAdditions;
  return script;
}

}  // namespace zendra
